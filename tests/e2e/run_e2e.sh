#!/usr/bin/env bash
# The program as a user meets it: a real X server and window manager, driven
# only through the screen with xdotool and screenshots.
# Usage: run_e2e.sh FOLDER_WITH_POKORIN
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/form1_screen.sh"

BIN=$(cd "$1" && pwd)
start_x 90 2048x1536

echo "-- start-up picture"
start_program
[ "$WIN_W.$WIN_H" = "656.542" ] || fail "client area is ${WIN_W}x${WIN_H}"
shot "$E2E_TMP/start.png"
check_board "$E2E_TMP/start.png" 1
check_ball_on_apex "$E2E_TMP/start.png" 1
check_japanese_title "$E2E_TMP/start.png"

echo "-- help, back to the main window, initialise"
click_button start
sleep 1.5
click_button stop
click_button help
HELP=$(find_window 'ヘルプ') || fail "the help window did not open"
window_geometry "$HELP"
click 584 12 # 閉じる
for _ in $(seq 20); do window_gone 'ヘルプ' && break; sleep 0.2; done
window_gone 'ヘルプ' || fail "閉じる left the help window open"
window_geometry "$MAIN"
click 300 120 # the board: the main window becomes active again
shot "$E2E_TMP/back.png"
initialise_enabled "$E2E_TMP/back.png" 1 || fail "初期化 was disabled on coming back from help"
click_button initialise
shot "$E2E_TMP/cleared.png"
[ "$(stack_heights "$E2E_TMP/cleared.png" 1)" = "0 0 0 0 0 0 0 0 0 0 0" ] || fail "squares left after 初期化"
check_ball_on_apex "$E2E_TMP/cleared.png" 1

echo "-- a whole run at 1 ms per level"
click_button speed
xdotool key ctrl+a
xdotool type 1
click_button start
wait_for_run_end 1
heights=$(stack_heights "$E2E_TMP/finished.png" 1)
echo "stacks: $heights"
check_one_full_stack "$heights"

echo "-- quit: No, then Yes"
click_button quit
BOX=$(find_window '^ポコリンの落下$') || fail "no quit box"
xdotool windowactivate --sync "$BOX"
xdotool key Escape
sleep 0.5
window_gone '^ポコリンの落下$' || fail "Escape left the quit box open"
xdotool search --onlyvisible --name "$MAIN_TITLE" >/dev/null || fail "No closed the main window"
click_button quit
BOX=$(find_window '^ポコリンの落下$') || fail "no quit box the second time"
xdotool windowactivate --sync "$BOX"
xdotool key Return
status=0
timeout 10 tail --pid="$APP" -f /dev/null || fail "Yes did not end the program"
wait "$APP" || status=$?
[ "$status" = 0 ] || fail "the program ended with $status"
[ "$(grep -c 'no sound output' "$E2E_TMP/pokorin.log")" = 1 ] ||
    fail "without a sound server the chimes should warn once: $(cat "$E2E_TMP/pokorin.log")"

echo "-- twice as large with QT_SCALE_FACTOR=2"
start_program QT_SCALE_FACTOR=2
[ "$WIN_W.$WIN_H" = "1312.1084" ] || fail "scaled client area is ${WIN_W}x${WIN_H}"
shot "$E2E_TMP/scaled.png"
check_board "$E2E_TMP/scaled.png" 2
check_ball_on_apex "$E2E_TMP/scaled.png" 2
click_button speed 2
xdotool key ctrl+a
xdotool type 1
click_button start 2
wait_for_run_end 2
check_one_full_stack "$(stack_heights "$E2E_TMP/finished.png" 2)"
kill "$APP"

echo "e2e: 5 passed, 0 failed"
