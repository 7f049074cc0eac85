# Sourced by the Windows and web scripts: a static Qt for another platform,
# built once from Debian's own qt6-base source (Debian's patches applied) and
# kept in a cache outside the clone, keyed by Qt's Debian version and the
# configure line, so that later runs and fresh clones reuse it. For Windows,
# Qt WebSockets and Qt HTTP Server join it, for the class host.

CROSS_QT_CACHE=${POKORIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pokorin}
# What fetching and building Qt from Debian's source needs.
CROSS_QT_PACKAGES=(dpkg-dev perl)

# Only what the program and its tests use: Core, Gui, Widgets and Test.
CROSS_QT_TRIM=(-release -static -nomake tests -nomake examples -no-dbus -no-icu
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-concurrent
    -no-feature-printsupport -no-feature-vulkan -no-feature-imageformat_jpeg -no-feature-jpeg
    -no-feature-gif -no-feature-ico -no-feature-pdf -no-feature-sessionmanager)
# Windows keeps Qt's network, which the class host serves the page with, but
# not its TLS: the host speaks plain HTTP on the class's own network.
CROSS_QT_WINDOWS=(-xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- -static-runtime -no-opengl
    -no-ssl
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

# The Qt modules that the class host needs, built for Windows after qt6-base,
# in this order (the HTTP server takes WebSockets' upgrades only when it finds
# them), each from the source of the Debian package named after its colon.
CROSS_QT_MODULES=(qtwebsockets:qt6-websockets-dev qthttpserver:qt6-httpserver-dev)
# Qt's release archives of those modules, as sha256sum checks them. They stand
# in, from the folder that POKORIN_QT_SOURCES names, when Debian's source
# cannot be had whole.
CROSS_QT_ARCHIVES=(
    "b8ba9c684f43434da12ba7d968ebae25d06f9c6d418cd6d14c4cb453181a7a45  qtwebsockets-everywhere-src-6.4.2.tar.xz"
    "09d7abd6972c36529afff17d8f940d792efb45cb53b3ef754a18d79b9f5a5ff6  qthttpserver-everywhere-src-6.4.2.tar.xz"
)

# trim_qt_source TARGET SOURCE: the page brings its own face for every text,
# so Qt's web platform need not carry the DejaVu faces it falls back on.
trim_qt_source() {
    [ "$1" = web ] && sed -i '/src\/3rdparty\/wasm\/.*\.ttf"/d' "$2/src/plugins/platforms/wasm/CMakeLists.txt"
    return 0
}

# source_apt FOLDER: SOURCE_APT becomes an apt-get that reads a private
# deb-src list, made in FOLDER from the machine's own sources, and its index
# is fetched; the machine's apt configuration stays as it is.
source_apt() {
    local apt_dir=$1 f
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/archives/partial"
    chmod 755 "$apt_dir" # apt downloads as its own user
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    done
    [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
    touch "$apt_dir/sources.list"
    SOURCE_APT=(apt-get -qq -o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache::Archives=$apt_dir/archives" -o "Dir::Cache::srcpkgcache=" -o "Dir::Cache::pkgcache=")
    "${SOURCE_APT[@]}" update
}

# download_source PACKAGE VERSION INTO: the files of Debian's source package
# downloaded into INTO with SOURCE_APT, which checks each against the signed
# index; fails when any of them cannot be had, leaving those that could.
download_source() {
    mkdir -p "$3" && chmod 755 "$3"
    (cd "$3" && "${SOURCE_APT[@]}" source --download-only "$1=$2")
}

# fetch_qt_source TARGET WORK: the source of the qt6-base that this machine has,
# unpacked with Debian's patches into WORK/src, and for Windows each module's
# into WORK/modules/MODULE.
fetch_qt_source() {
    local target=$1 work=$2 entry
    source_apt "$work/apt"
    download_source qt6-base "$(dpkg-query -W -f='${source:Version}' qt6-base-dev)" "$work/debian"
    dpkg-source -x --no-copy "$work"/debian/qt6-base_*.dsc "$work/src" >/dev/null
    if [ "$target" = windows ]; then
        for entry in "${CROSS_QT_MODULES[@]}"; do
            fetch_module_source "${entry%%:*}" "${entry#*:}" "$work"
        done
    fi
    rm -rf "$work/apt" "$work/debian"
}

# fetch_module_source MODULE PACKAGE WORK: the source of the Qt module MODULE
# in WORK/modules/MODULE: Debian's, with its patches, when this machine's
# archive gives it whole, else Qt's release archive from POKORIN_QT_SOURCES.
fetch_module_source() {
    local module=$1 package=$2 work=$3 source version archive into=$3/modules/$1
    source=$(dpkg-query -W -f='${source:Package}' "$package")
    version=$(dpkg-query -W -f='${source:Version}' "$package")
    if download_source "$source" "$version" "$work/debian" 2>"$work/apt.log"; then
        dpkg-source -x --no-copy "$work/debian/${source}_$version.dsc" "$into" >/dev/null
        return
    fi
    echo "Debian's source of $source $version cannot be had whole here; taking Qt's release archive" >&2
    archive=$(release_archive "$module") || exit 1
    mkdir -p "$into"
    tar -xf "$archive" -C "$into" --strip-components=1
}

# release_archive MODULE: prints the path of Qt's release archive of MODULE in
# the folder that POKORIN_QT_SOURCES names, once its SHA-256 is the one
# CROSS_QT_ARCHIVES gives; stops the build when it is missing or differs.
release_archive() {
    local line file sum folder=${POKORIN_QT_SOURCES:-}
    line=$(printf '%s\n' "${CROSS_QT_ARCHIVES[@]}" | grep "  $1-everywhere-src-")
    file=${line#*  }
    if [ -z "$folder" ]; then
        echo "error: $file is needed, and POKORIN_QT_SOURCES names no folder to look for it in" >&2
        exit 1
    elif [ ! -f "$folder/$file" ]; then
        echo "error: $file is not in $folder (POKORIN_QT_SOURCES)" >&2
        exit 1
    fi
    sum=$(sha256sum <"$folder/$file" | cut -d' ' -f1)
    if [ "$sum" != "${line%%  *}" ]; then
        echo "error: $file in $folder (POKORIN_QT_SOURCES) has the SHA-256 $sum, not Qt's ${line%%  *}" >&2
        exit 1
    fi
    echo "$folder/$file"
}

# ensure_cross_qt windows|web: prints the prefix of that Qt, building it first
# when the cache does not hold it.
ensure_cross_qt() {
    # Called as $(...), where bash drops errexit: a failed step must still stop.
    set -e
    local target=$1 options=() option version key prefix work entry
    if [ "$target" = windows ]; then
        for option in "${CROSS_QT_TRIM[@]}"; do
            [ "$option" = -no-feature-network ] || options+=("$option")
        done
        options+=("${CROSS_QT_WINDOWS[@]}")
    else
        options=("${CROSS_QT_TRIM[@]}" "${CROSS_QT_WEB[@]}")
    fi
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    key=$(printf '%s\n' "${options[@]}" "$(cat "$ROOT/cmake/mingw-w64-x86_64.cmake")" |
        sha256sum | cut -c1-12)
    if [ "$target" = windows ]; then
        # The modules, the Debian versions of their sources and the archives
        # that may stand in for them belong to Windows' key.
        key=$({
            echo "$key"
            for entry in "${CROSS_QT_MODULES[@]}"; do
                dpkg-query -W -f="${entry%%:*} \${source:Package} \${source:Version}\n" "${entry#*:}"
            done
            printf '%s\n' "${CROSS_QT_ARCHIVES[@]}"
        } | sha256sum | cut -c1-12)
    else
        # What is cut from the web's source belongs to its key as well.
        key=$(printf '%s\n' "$key" "$(declare -f trim_qt_source)" | sha256sum | cut -c1-12)
    fi
    prefix="$CROSS_QT_CACHE/qt-$version-$target-$key"
    if [ ! -f "$prefix/.complete" ]; then
        mkdir -p "$CROSS_QT_CACHE"
        work=$(mktemp -d "${TMPDIR:-/tmp}/pokorin-qt.XXXXXX")
        chmod 755 "$work" # apt downloads as its own user
        echo "building Qt $version for $target into $prefix (once; 20 to 40 minutes)" >&2
        fetch_qt_source "$target" "$work" >&2
        trim_qt_source "$target" "$work/src"
        mkdir -p "$work/build"
        (cd "$work/build" && configure_cross_qt "$target" "$work/src" "$prefix" "${options[@]}" &&
            cmake --build . --parallel "$(nproc)" && cmake --install .) >"$work/qt.log" 2>&1 ||
            { tail -n 60 "$work/qt.log" >&2; return 1; }
        collect_qt_licenses "$work/src" "$prefix/licenses"
        if [ "$target" = windows ]; then
            for entry in "${CROSS_QT_MODULES[@]}"; do
                build_qt_module "$prefix" "$work/modules/${entry%%:*}" >>"$work/qt.log" 2>&1 ||
                    { tail -n 60 "$work/qt.log" >&2; return 1; }
                collect_module_licenses "$work/modules/${entry%%:*}" "$prefix/licenses/${entry%%:*}"
            done
        fi
        touch "$prefix/.complete"
        rm -rf "$work"
    fi
    echo "$prefix"
}

# build_qt_module PREFIX SOURCE: the Qt module in SOURCE built and installed
# into the Qt in PREFIX, with that Qt's own configuration (static, release,
# neither tests nor examples).
build_qt_module() {
    local build
    build="$2-build"
    mkdir -p "$build"
    (cd "$build" && "$1/bin/qt-configure-module" "$2" -- -G Ninja &&
        cmake --build . --parallel "$(nproc)" && cmake --install .)
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

# collect_module_licenses SOURCE FOLDER: a Qt module's licences, and Debian's
# account of its source when it came from Debian, in a folder named for it.
collect_module_licenses() {
    mkdir -p "$2"
    cp "$1"/LICENSES/* "$2/"
    if [ -f "$1/debian/copyright" ]; then
        cp "$1/debian/copyright" "$2/$(sed -n 's/^Source: //p' "$1/debian/control" | head -n 1)-copyright.txt"
    fi
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

# ensure_qrcodegen_source: prints the folder of the source of the QR code
# library that the native build links (Debian's qr-code-generator), fetching
# it into the cache first; a cross build compiles its C++ file itself.
ensure_qrcodegen_source() {
    # Called as $(...), where bash drops errexit: a failed step must still stop.
    set -e
    local source version into work dsc line
    source=$(dpkg-query -W -f='${source:Package}' libqrcodegencpp-dev)
    version=$(dpkg-query -W -f='${source:Version}' libqrcodegencpp-dev)
    into="$CROSS_QT_CACHE/$source-${version%-*}"
    if [ ! -f "$into/.complete" ]; then
        work=$(mktemp -d "${TMPDIR:-/tmp}/pokorin-qrcodegen.XXXXXX")
        chmod 755 "$work" # apt downloads as its own user
        source_apt "$work/apt" >&2
        rm -rf "$into"
        dsc="$work/debian/${source}_$version.dsc"
        if download_source "$source" "$version" "$work/debian" 2>"$work/apt.log"; then
            dpkg-source -x --no-copy "$dsc" "$into" >/dev/null
        elif [ -f "$dsc" ]; then
            # The C++ file is all a cross build takes: the upstream archive
            # alone serves, checked against the .dsc the signed index vouches for.
            line=$(awk '/^[^ ]/ { sums = /^Checksums-Sha256:/; next }
                sums && $3 ~ /\.orig\.tar\./ { print $1 "  " $3 }' "$dsc")
            if [ -z "$line" ] || ! (cd "$work/debian" && sha256sum --check --status <<<"$line"); then
                echo "error: the upstream archive of $source $version does not match $(basename "$dsc")" >&2
                exit 1
            fi
            mkdir -p "$into"
            tar -xf "$work/debian/${line#*  }" -C "$into" --strip-components=1
        else
            cat "$work/apt.log" >&2
            echo "error: Debian's source of $source $version cannot be had" >&2
            exit 1
        fi
        touch "$into/.complete"
        rm -rf "$work"
    fi
    echo "$into"
}

# cross_build windows|web FOLDER BUILD_TYPE [CMAKE_OPTION...]: the program built against that Qt,
# with the chimes and the icon of the native build/ and the QR code library's
# source; a folder made for another Qt starts afresh. Leaves the Qt's prefix in
# $qt.
cross_build() {
    local qrcodegen
    qt=$(ensure_cross_qt "$1")
    qrcodegen=$(ensure_qrcodegen_source)
    local folder=$2 type=$3
    [ "$(cat "$folder/qt-prefix" 2>/dev/null)" = "$qt" ] || rm -rf "$folder"
    mkdir -p "$folder" && echo "$qt" >"$folder/qt-prefix"
    shift 3
    configure_and_build "$folder" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DPOKORIN_NATIVE_BUILD="$ROOT/build" -DPOKORIN_QRCODEGEN_SOURCE="$qrcodegen" "$@"
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
