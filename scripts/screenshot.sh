#!/usr/bin/env bash
# Makes docs/screenshot.png from the running program under Xvfb: a run at
# 10 ms per level, stopped after a few seconds, with its ratios shown.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth x11-utils jwm xdotool imagemagick
configure_and_build "$ROOT/build"

source "$ROOT/tests/e2e/x_session.sh"
source "$ROOT/tests/e2e/form1_screen.sh"
start_x 150 1024x768
BIN="$ROOT/build/bin"
start_program
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
