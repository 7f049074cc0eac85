#!/usr/bin/env bash
# Makes docs/screenshot.png from the running program under Xvfb: a run at
# 10 ms per level, stopped after a few seconds, with its ratios shown.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth x11-utils jwm xdotool imagemagick
configure_and_build "$ROOT/build"

source "$ROOT/tests/e2e/x_session.sh"
source "$ROOT/tests/e2e/form1_screen.sh"
start_x 150 1024x768
mkdir "$E2E_TMP/work"
(cd "$E2E_TMP/work" && exec "$ROOT/build/bin/pokorin") >/dev/null 2>&1 &
E2E_PIDS+=($!)
MAIN=$(find_window "$MAIN_TITLE") || fail "the main window did not open"
window_geometry "$MAIN"
sleep 0.5
click_button speed
xdotool key ctrl+a
xdotool type 10
click_button start
sleep 4
click_button stop
sleep 0.5
mkdir -p "$ROOT/docs"
/usr/bin/import -window "$MAIN" "$ROOT/docs/screenshot.png"
echo "wrote docs/screenshot.png"
