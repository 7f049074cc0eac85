# Sourced by the Windows and web scripts: a static Qt for another platform,
# built once from Debian's own qt6-base source (Debian's patches applied) and
# kept in a cache outside the clone, keyed by Qt's Debian version and the
# configure line, so that later runs and fresh clones reuse it.

CROSS_QT_CACHE=${POKORIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pokorin}
# What fetching and building Qt from Debian's source needs.
CROSS_QT_PACKAGES=(dpkg-dev perl)

# Only what the program and its tests use: Core, Gui, Widgets and Test.
CROSS_QT_TRIM=(-release -static -nomake tests -nomake examples -no-dbus -no-icu
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent
    -no-feature-printsupport -no-feature-vulkan -no-feature-imageformat_jpeg -no-feature-jpeg
    -no-feature-gif -no-feature-ico -no-feature-pdf -no-feature-sessionmanager)
CROSS_QT_WINDOWS=(-xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- -static-runtime -no-opengl
    -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite3 -qt-zlib -qt-pcre
    -qt-libpng -qt-harfbuzz -qt-freetype -qt-doubleconversion)
# The web's platform draws through WebGL, so OpenGL stays. A page is
# downloaded at a class's first visit: what the program never uses goes.
CROSS_QT_WEB=(-platform wasm-emscripten -no-feature-thread -optimize-size -qt-zlib -qt-pcre
    -qt-libpng -qt-harfbuzz -qt-freetype -qt-doubleconversion)
for unused in style-windows style-stylesheet effects treewidget listwidget tablewidget commandlinkbutton \
    datetimeedit textbrowser splashscreen splitter lcdnumber tabwidget fontcombobox toolbox \
    dockwidget mdiarea statusbar progressbar dial graphicsview graphicseffect syntaxhighlighter \
    calendarwidget keysequenceedit colordialog filedialog fontdialog progressdialog inputdialog errormessage \
    wizard columnview undoview datawidgetmapper fscompleter completer statustip whatsthis textmarkdownreader \
    textmarkdownwriter textodfwriter imageformat_bmp imageformat_ppm imageformat_xbm movie picture \
    systemtrayicon undocommand undostack undogroup standarditemmodel mimetype-database timezone \
    jalalicalendar hijricalendar islamiccivilcalendar settings filesystemwatcher sharedmemory \
    systemsemaphore sortfilterproxymodel transposeproxymodel \
    concatenatetablesproxymodel identityproxymodel stringlistmodel; do
    CROSS_QT_WEB+=(-no-feature-$unused)
done

# trim_qt_source TARGET SOURCE: the page brings its own face for every text,
# so Qt's web platform need not carry the DejaVu faces it falls back on.
trim_qt_source() {
    [ "$1" = web ] && sed -i '/src\/3rdparty\/wasm\/.*\.ttf"/d' "$2/src/plugins/platforms/wasm/CMakeLists.txt"
    return 0
}

# The source of the qt6-base that this machine has, unpacked with Debian's
# patches into $1; apt reads a private deb-src list made from the machine's own
# sources, and the machine's apt configuration stays as it is.
fetch_qt_source() {
    local into=$1 apt_dir version
    apt_dir=$(mktemp -d)
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$into"
    chmod 755 "$apt_dir" "$into" # apt downloads as its own user
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    done
    [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
    touch "$apt_dir/sources.list"
    local apt=(apt-get -qq -o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache::Archives=$apt_dir/archives" -o "Dir::Cache::srcpkgcache=" -o "Dir::Cache::pkgcache=")
    "${apt[@]}" update
    version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
    (cd "$into" && "${apt[@]}" source --download-only "qt6-base=$version")
    dpkg-source -x "$into"/qt6-base_*.dsc "$into/src" >/dev/null
    rm -rf "$apt_dir"
}

# ensure_cross_qt windows|web: prints the prefix of that Qt, building it first
# when the cache does not hold it.
ensure_cross_qt() {
    local target=$1 options version key prefix work
    if [ "$target" = windows ]; then
        options=("${CROSS_QT_TRIM[@]}" "${CROSS_QT_WINDOWS[@]}")
    else
        options=("${CROSS_QT_TRIM[@]}" "${CROSS_QT_WEB[@]}")
    fi
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    key=$(printf '%s\n' "${options[@]}" "$(cat "$ROOT/cmake/mingw-w64-x86_64.cmake")" |
        sha256sum | cut -c1-12)
    # What is cut from the web's source belongs to its key as well.
    [ "$target" = windows ] || key=$(printf '%s\n' "$key" "$(declare -f trim_qt_source)" | sha256sum | cut -c1-12)
    prefix="$CROSS_QT_CACHE/qt-$version-$target-$key"
    if [ ! -f "$prefix/.complete" ]; then
        mkdir -p "$CROSS_QT_CACHE"
        work=$(mktemp -d "${TMPDIR:-/tmp}/pokorin-qt.XXXXXX")
        echo "building Qt $version for $target into $prefix (once; 20 to 30 minutes)" >&2
        fetch_qt_source "$work" >&2
        trim_qt_source "$target" "$work/src"
        mkdir -p "$work/build"
        (cd "$work/build" && configure_cross_qt "$target" "$work/src" "$prefix" "${options[@]}" &&
            cmake --build . --parallel "$(nproc)" && cmake --install .) >"$work/qt.log" 2>&1 ||
            { tail -n 60 "$work/qt.log" >&2; return 1; }
        collect_qt_licenses "$work/src" "$prefix/licenses"
        touch "$prefix/.complete"
        rm -rf "$work"
    fi
    echo "$prefix"
}

# collect_qt_licenses SOURCE FOLDER: what a static program must carry: Qt's
# licence, Debian's account of the source, and the notices of the libraries
# that Qt bundles.
collect_qt_licenses() {
    local src=$1 into=$2 library
    mkdir -p "$into"
    cp "$src"/LICENSES/{LGPL-3.0-only,GPL-2.0-only,GPL-3.0-only}.txt "$into/"
    cp "$src/debian/copyright" "$into/qt6-base-copyright.txt"
    for library in "$src"/src/3rdparty/*/; do
        find "$library" -maxdepth 1 \( -iname 'licen[cs]e*' -o -iname 'copying*' \) \
            -exec install -D -m 644 -t "$into/$(basename "$library")" {} +
    done
}

# configure_cross_qt TARGET SOURCE PREFIX OPTIONS...
configure_cross_qt() {
    local target=$1 src=$2 prefix=$3
    shift 3
    local toolchain=("-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake")
    if [ "$target" = windows ]; then
        # Qt keeps the path of this file; the cache's copy outlives any clone.
        cp "$ROOT/cmake/mingw-w64-x86_64.cmake" "$prefix.toolchain.cmake"
        toolchain+=("-DCMAKE_TOOLCHAIN_FILE=$prefix.toolchain.cmake")
    else
        toolchain+=("-DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake")
        export EMSDK=$(emsdk_folder) EMSCRIPTEN=/usr/share/emscripten NODE_PATH=/usr/share/nodejs
    fi
    "$src/configure" -prefix "$prefix" -qt-host-path /usr "$@" -- -G Ninja "${toolchain[@]}"
}

# Qt's web configure insists on an emsdk folder; this one points at Debian's
# emscripten.
emsdk_folder() {
    local emsdk="$CROSS_QT_CACHE/emsdk"
    mkdir -p "$emsdk/upstream/emscripten"
    echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" >"$emsdk/.emscripten"
    ln -sfn /usr/bin/emcc "$emsdk/upstream/emscripten/emcc"
    ln -sfn /usr/share/emscripten/cmake "$emsdk/upstream/emscripten/cmake"
    echo "$emsdk"
}

# cross_build windows|web FOLDER BUILD_TYPE: the program built against that Qt,
# with the chimes and the icon of the native build/; a folder made for another
# Qt starts afresh. Leaves the Qt's prefix in $qt.
cross_build() {
    qt=$(ensure_cross_qt "$1")
    [ "$(cat "$2/qt-prefix" 2>/dev/null)" = "$qt" ] || rm -rf "$2"
    mkdir -p "$2" && echo "$qt" >"$2/qt-prefix"
    configure_and_build "$2" -DCMAKE_BUILD_TYPE="$3" -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DPOKORIN_NATIVE_BUILD="$ROOT/build"
}

# same_runs_as_linux NAME COMMAND...: the runner under COMMAND prints for fixed
# seeds exactly what the Linux build prints (line ends aside).
same_runs_as_linux() {
    local name=$1 args
    shift
    for args in "--runs 3 --seed 7 --frozen-clock" "--trace --seed 1 --frozen-clock"; do
        # shellcheck disable=SC2086 # the options are words
        diff <("$ROOT/build/bin/pokorin-sim" $args) <("$@" $args | tr -d '\r') ||
            { echo "$name $args differs from the Linux build" >&2; exit 1; }
    done
    echo "$name: 2 passed, 0 failed"
}
