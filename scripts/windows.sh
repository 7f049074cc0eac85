#!/usr/bin/env bash
# Installs what is missing, builds Qt for Windows once into the cache,
# cross-builds the program into build-win/, runs the Windows tests under Wine
# and packs build-win/pokorin-VERSION-windows-x64.zip.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/cross-qt.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${CROSS_QT_PACKAGES[@]}" g++-mingw-w64-x86-64-posix \
    wine64 xvfb xauth x11-utils jwm xdotool imagemagick pulseaudio pulseaudio-utils sox zip

# The native build makes the chimes and the icon, and tells what the Windows
# build must print.
configure_and_build "$ROOT/build"
qt=$(ensure_cross_qt windows)
[ "$(cat "$ROOT/build-win/qt-prefix" 2>/dev/null)" = "$qt" ] || rm -rf "$ROOT/build-win" # another Qt
mkdir -p "$ROOT/build-win" && echo "$qt" >"$ROOT/build-win/qt-prefix"
configure_and_build "$ROOT/build-win" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" -DPOKORIN_NATIVE_BUILD="$ROOT/build"

echo "== the tests under Wine"
ctest --test-dir "$ROOT/build-win" --output-on-failure
for args in "--runs 3 --seed 7 --frozen-clock" "--trace --seed 1 --frozen-clock"; do
    # shellcheck disable=SC2086 # the options are words
    diff <("$ROOT/build/bin/pokorin-sim" $args) \
        <(bash "$ROOT/scripts/wine.sh" "$ROOT/build-win/bin/pokorin-sim.exe" $args | tr -d '\r') ||
        { echo "pokorin-sim.exe $args differs from the Linux build" >&2; exit 1; }
done
echo "windows runner: 2 passed, 0 failed"

echo "== the zip a teacher unpacks"
version=$(sed -n 's/^project(pokorin VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
pack="$ROOT/build-win/pokorin-$version-windows-x64"
rm -rf "$pack" "$pack.zip"
mkdir -p "$pack/licenses"
cp "$ROOT"/build-win/bin/{pokorin.exe,pokorin-sim.exe,pinpon.wav,endpinpon.wav} "$ROOT/LICENSE" "$pack/"
# Notepad reads UTF-8 surely only with its mark, and lines ending in \r\n.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$ROOT/data/windows/README.txt"; } >"$pack/README.txt"
cp -r "$qt"/licenses/* "$pack/licenses/"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$pack/licenses/mingw-gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$pack/licenses/mingw-w64-copyright.txt"
(cd "$(dirname "$pack")" && zip -qr9 "$pack.zip" "$(basename "$pack")")
ls -l "$pack.zip"
