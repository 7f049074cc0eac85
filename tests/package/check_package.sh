#!/usr/bin/env bash
# The Debian package: its dependencies and files, its desktop entry, and the
# installed program finding its chimes from another working folder.
# Usage: check_package.sh BUILD_FOLDER
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/form1_screen.sh"

BUILD=$(cd "$1" && pwd)
(cd "$BUILD" && cpack -B "$E2E_TMP/deb" >/dev/null) || fail "cpack failed"
deb=$(ls "$E2E_TMP"/deb/pokorin_*.deb)

echo "-- dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends"
for needed in libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n; do
    [[ ", $depends," == *", $needed,"* ]] || fail "missing dependency $needed"
done
[[ "$depends" != *-dev* && "$depends" != *cmake* && "$depends" != *g++* ]] ||
    fail "build tools among the dependencies"

echo "-- files"
root="$E2E_TMP/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/pokorin usr/bin/pokorin-sim usr/share/pokorin/pinpon.wav usr/share/pokorin/endpinpon.wav \
    usr/share/applications/pokorin.desktop usr/share/icons/hicolor/32x32/apps/pokorin.png \
    usr/share/icons/hicolor/scalable/apps/pokorin.svg; do
    [ -s "$root/$file" ] || fail "the package lacks $file"
done
desktop-file-validate "$root/usr/share/applications/pokorin.desktop" || fail "invalid desktop entry"
grep -qx 'Name\[ja\]=ポコリンの落下の実験' "$root/usr/share/applications/pokorin.desktop" || fail "no Japanese name"
grep -qx 'Categories=Education;Math;' "$root/usr/share/applications/pokorin.desktop" || fail "wrong categories"
[ "$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/32x32/apps/pokorin.png")" = 32x32 ] ||
    fail "the icon is not 32 x 32"
[ "$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/scalable/apps/pokorin.svg")" = 32x32 ] ||
    fail "the scalable icon does not load"

echo "-- the installed program finds its chimes from elsewhere"
start_x 130 1024x768
BIN="$root/usr/bin"
start_program
click_button help
find_window 'ヘルプ' >/dev/null || fail "the help window did not open"
kill "$APP"
! grep -q 'chime not found' "$E2E_TMP/pokorin.log" || fail "$(cat "$E2E_TMP/pokorin.log")"
grep -q 'no sound output' "$E2E_TMP/pokorin.log" || fail "the chime was not reached: $(cat "$E2E_TMP/pokorin.log")"

echo "package: 3 passed, 0 failed"
