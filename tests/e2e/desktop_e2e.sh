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
check_board start 1
click help
HELP=$(find_window ヘルプ)
xdotool windowminimize --sync "$HELP"
click help
help_back() {
    SEEN="$(xwininfo -id "$HELP" | grep -o 'Is[A-Za-z]*' | head -n 1), active window $(xdotool getactivewindow)"
    xwininfo -id "$HELP" | grep -q IsViewable && [ "$(xdotool getactivewindow)" = "$HELP" ]
}
wait_until 10 "HELP brings back the minimised help window, active" help_back
locate "$HELP"
wait_until 10 "the help window shows its text" shot_shows help help_text_shown help
close_help

echo "-- with the sound server hung, HELP opens at once and runs go on"
kill -STOP "$PULSE"
click help
find_window ヘルプ 10 >/dev/null
close_help
land_balls
kill -CONT "$PULSE"

echo "-- the sound server goes away and comes back: the chimes come back too"
sleep 1 # the server serves a while before it goes
kill -KILL "$PULSE" && wait "$PULSE" 2>/dev/null || true
click initialise # while the server is gone
click help
close_help
start_pulse
expect_chimes 1 "HELP after the sound server came back" click help
loss_reported() {
    SEEN=$(cat "$E2E_TMP/pokorin.log")
    [ "$(grep -c 'no sound output' "$E2E_TMP/pokorin.log")" = 1 ]
}
wait_until 10 "the loss of the sound output is reported once" loss_reported
close_help

echo "-- 終了 answered Yes ends the program at once, though the sound server hangs"
kill -STOP "$PULSE"
quit_with_yes
kill -CONT "$PULSE"

echo "desktop: 4 passed, 0 failed"
