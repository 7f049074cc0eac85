#!/usr/bin/env bash
# Installs what is missing, builds Qt for Windows once into the cache,
# cross-builds the program into build-win/, runs the Windows tests under Wine
# and packs build-win/pokorin-VERSION-windows-x64.zip; then hosts a class from
# the zip's folder under Wine for a Chromium, when it carries the students' page.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/cross-qt.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${CROSS_QT_PACKAGES[@]}" g++-mingw-w64-x86-64-posix \
    wine wine64 xvfb xauth x11-utils jwm xdotool imagemagick pulseaudio pulseaudio-utils sox zip \
    nodejs chromium zbar-tools
ensure_page_packages

# The native build makes the chimes and the icon, and tells what the Windows
# build must print.
configure_and_build "$ROOT/build"
cross_build windows "$ROOT/build-win" Release

echo "== the tests under Wine"
ctest --test-dir "$ROOT/build-win" --output-on-failure
same_runs_as_linux pokorin-sim.exe bash "$ROOT/scripts/wine.sh" "$ROOT/build-win/bin/pokorin-sim.exe"

echo "== the zip a teacher unpacks"
version=$(sed -n 's/^project(pokorin VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
pack="$ROOT/build-win/pokorin-$version-windows-x64"
rm -rf "$pack" "$pack.zip"
mkdir -p "$pack/licenses"
cp "$ROOT"/build-win/bin/{pokorin.exe,pokorin-class.exe,pokorin-sim.exe,pinpon.wav,endpinpon.wav} \
    "$ROOT/LICENSE" "$pack/"
# The students' page, which pokorin-class.exe serves from the folder beside
# it: browsers ask a plain http:// host for gzip, never for brotli, and the
# teacher's page for a relay is not needed on a teacher's computer.
if [ -f "$ROOT/build-web/site/index.html" ]; then
    mkdir -p "$pack/site"
    find "$ROOT/build-web/site" -maxdepth 1 -type f ! -name '*.br' ! -name 'pokorin-class.*' \
        -exec cp -t "$pack/site" {} +
else
    echo "warning: no students' page in the zip; bash scripts/web.sh builds it" >&2
fi
# Notepad reads UTF-8 surely only with its mark, and lines ending in \r\n.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$ROOT/data/windows/README.txt"; } >"$pack/README.txt"
cp -r "$qt"/licenses/* "$pack/licenses/"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$pack/licenses/mingw-gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$pack/licenses/mingw-w64-copyright.txt"
cp /usr/share/doc/libqrcodegencpp-dev/copyright "$pack/licenses/qr-code-generator-copyright.txt"
(cd "$(dirname "$pack")" && zip -qr9 "$pack.zip" "$(basename "$pack")")
ls -l "$pack.zip"

echo "== the class under Wine: pokorin.exe --class from the zip's folder pools a Chromium's balls"
if [ -f "$pack/site/index.html" ]; then
    node "$ROOT/tests/web/class_wine_test.mjs" "$pack"
else
    echo "skipped: the zip has no students' page to serve; bash scripts/web.sh builds it"
fi
