#!/usr/bin/env bash
# pokorin.exe under Wine as a Windows classroom meets it: on an X server with
# a window manager, its chimes through Wine's sound driver into a PulseAudio
# null sink; driven only through the screen and the keyboard.
# Usage: windows_e2e.sh FOLDER_WITH_POKORIN_EXE
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
BIN=$(cd "$1" && pwd)
start_x 110 1024x768
start_pulse
PROGRAM=(bash "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine.sh" "$BIN/pokorin.exe")

echo "-- start-up: the board in its Japanese window"
start_program
[ "$W.$H" = "656.542" ] || fail "the client area is ${W}x$H"
check_board start 1

echo "-- 開始 at 10 ms a level lands balls"
land_balls

echo "-- HELP opens the help window with its text, with one chime"
# The first sound through Wine's driver on a new prefix takes its time.
expect_chimes 1 "HELP" click help
HELP=$(find_window ヘルプ)
locate "$HELP"
wait_until 10 "the help window shows its text" shot_shows help help_text_shown help
close_help

echo "-- 終了 answered Yes ends the program at once"
quit_with_yes
echo "windows desktop: 4 passed, 0 failed"
