#!/usr/bin/env bash
# Makes docs/screenshot.png from the running program under Xvfb: a run at
# 10 ms per level, stopped after a few seconds, with its ratios shown.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth x11-utils jwm xdotool imagemagick
configure_and_build "$ROOT/build"

source "$ROOT/tests/e2e/x_session.sh"
start_x 150 1024x768
(cd "$E2E_TMP" && exec env PULSE_SERVER="unix:$E2E_TMP/none" "$ROOT/build/bin/pokorin") >/dev/null 2>&1 &
E2E_PIDS+=($!)
MAIN=$(find_window '^ ポコリンの落下の実験$') || fail "the main window did not open"
locate "$MAIN"
sleep 0.5
click 360 505 # 落下速度
xdotool key ctrl+a type 10
click 586 508 # 開始
sleep 4
click 474 508 # 停止
sleep 0.5
mkdir -p "$ROOT/docs"
import -window "$MAIN" "$ROOT/docs/screenshot.png"
echo "wrote docs/screenshot.png"
