#!/usr/bin/env bash
# The program as a user meets it on a desktop: an X server, a window manager
# and a PulseAudio server with a null sink; driven only through the screen
# and the keyboard, with the sound server hung, gone and back.
# Usage: desktop_e2e.sh FOLDER_WITH_POKORIN
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
BIN=$(cd "$1" && pwd)
start_x 90 2048x1536

PROGRAM=("$BIN/pokorin")

echo "-- start-up; HELP brings back a minimised help window"
start_pulse
start_program
[ "$W.$H" = "656.542" ] || fail "the client area is ${W}x$H"
shot start
check_board start 1
click 560 12 # HELP
HELP=$(find_window ヘルプ) || fail "the help window did not open"
xdotool windowminimize --sync "$HELP"
click 560 12
sleep 0.5
xwininfo -id "$HELP" | grep -q IsViewable || fail "HELP left the help window minimised"
[ "$(xdotool getactivewindow)" = "$HELP" ] || fail "HELP left the help window inactive"
locate "$HELP"
shot help
[ "$(dark help 8 32 601 297)" -gt 1000 ] || fail "the help window shows no text"
close_help

echo "-- with the sound server hung, HELP opens at once and runs go on"
kill -STOP "$PULSE"
click 560 12
find_window ヘルプ 1 >/dev/null || fail "the help window took longer than a second"
close_help
land_balls
kill -CONT "$PULSE"

echo "-- the sound server goes away and comes back: the chimes come back too"
sleep 1
kill -KILL "$PULSE" && wait "$PULSE" 2>/dev/null || true
click 624 12 # 初期化, while the server is gone
click 560 12
close_help
start_pulse
[ "$(chimes_heard click 560 12)" = 1 ] || fail "HELP was not heard once after the sound server came back"
[ "$(grep -c 'no sound output' "$E2E_TMP/pokorin.log")" = 1 ] ||
    fail "the loss of the sound output should be reported once: $(cat "$E2E_TMP/pokorin.log")"
close_help

echo "-- 終了 answered Yes ends the program at once, though the sound server hangs"
kill -STOP "$PULSE"
quit_with_yes
kill -CONT "$PULSE"

echo "desktop: 4 passed, 0 failed"
