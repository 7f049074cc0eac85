#!/usr/bin/env bash
# The program as a user meets it on a desktop, on Linux or as pokorin.exe
# under Wine: an X server, a window manager and a PulseAudio null sink that
# hears its chimes (through Wine's sound driver for Windows); driven only
# through the screen and the keyboard. On Linux the sound server also hangs,
# goes and comes back.
# Usage: desktop_e2e.sh FOLDER_WITH_POKORIN_OR_POKORIN_EXE
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
BIN=$(cd "$1" && pwd)
PROGRAM=("$BIN/pokorin") LINUX=yes
if [ -f "$BIN/pokorin.exe" ]; then
    PROGRAM=(bash "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/wine.sh" "$BIN/pokorin.exe") LINUX=
fi
start_x 90 1024x768
start_pulse

echo "-- start-up: the board in its Japanese window; 開始 at 10 ms a level lands balls"
start_program
[ "$W.$H" = "656.542" ] || fail "the client area is ${W}x$H"
check_board start 1
land_balls

echo "-- HELP opens the help window with its text and one chime"
expect_chimes 1 "HELP" click help # Wine's first sound on a new prefix takes its time
HELP=$(find_window ヘルプ)
locate "$HELP"
wait_until 10 "the help window shows its text" shot_shows help help_text_shown help
locate "$MAIN"
close_help

if [ "$LINUX" ]; then
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
    kill -STOP "$PULSE" # 終了 must not wait for it
fi

echo "-- 終了 answered Yes ends the program at once"
quit_with_yes
kill -CONT "$PULSE"
echo "desktop: passed"
