#!/usr/bin/env bash
# The program as a user meets it on a desktop: an X server, a window manager
# and a PulseAudio server with a null sink; driven only through the screen
# and the keyboard, with the sound server hung, gone and back.
# Usage: desktop_e2e.sh FOLDER_WITH_POKORIN
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
BIN=$(cd "$1" && pwd)
start_x 90 2048x1536

export PULSE_SERVER="unix:$E2E_TMP/pulse.socket" PULSE_RUNTIME_PATH="$E2E_TMP/pulse"
start_pulse() { # as root PulseAudio warns, but runs
    HOME="$E2E_TMP" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        -L "module-null-sink sink_name=e2e" -L "module-native-protocol-unix socket=$E2E_TMP/pulse.socket" \
        >>"$E2E_TMP/pulse.log" 2>&1 &
    PULSE=$!
    E2E_PIDS+=("$PULSE")
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && return; sleep 0.1; done
    fail "PulseAudio did not start: $(cat "$E2E_TMP/pulse.log")"
}
MAIN_TITLE='^ ポコリンの落下の実験$'
start_program() {
    (cd "$E2E_TMP" && exec env "$@" "$BIN/pokorin") >"$E2E_TMP/pokorin.log" 2>&1 &
    APP=$!
    E2E_PIDS+=("$APP")
    MAIN=$(find_window "$MAIN_TITLE") || fail "the main window did not open"
    locate "$MAIN"
    sleep 0.5
}
# board X Y [SCALE]: where a point in board units lies in the client area.
board() { awk -v u="$1" -v v="$2" -v s="${3:-1}" 'BEGIN { printf "%d %d", s * (10 + u * 15.925) + 0.5, s * (34 + v * 19.85) + 0.5 }'; }
check_board() { # check_board SHOT SCALE: the lattice, the bins and the ball on the apex
    local node
    for node in "15 6" "25 6" "20 11" "10 11" "30 11"; do
        near "$1" 0000FF $(board $node "$2") || fail "no lattice at ($node) at scale $2"
    done
    near "$1" 000000 $(board 10.25 19.5 "$2") || fail "no floor under bin 1 at scale $2"
    near "$1" 0000FF $(board 20 0.4 "$2") && fail "lattice above the apex at scale $2"
    near "$1" FF0000 $(board 20.05 1.05 "$2") || fail "the ball is not on the apex at scale $2"
}
dark() { # dark SHOT X Y W H: how many dark pixels the rectangle holds
    convert "$E2E_TMP/$1.png" -crop "$4x$5+$((X0 + $2))+$((Y0 + $3))" -colorspace Gray -threshold 40% \
        -format '%[fx:int(w * h * (1 - mean))]' info:
}
close_help() {
    locate "$(find_window ヘルプ)"
    click 584 12 # 閉じる
    locate "$MAIN"
}

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
shot before
click 360 505
xdotool key ctrl+a type 10
click 586 508 # 開始
sleep 1.5
shot running
click 474 508 # 停止
[ "$(dark before 144 496 81 25)" != "$(dark running 144 496 81 25)" ] || fail "the drop counter did not move"
kill -CONT "$PULSE"

echo "-- the sound server goes away and comes back: the chimes come back too"
sleep 1
kill -KILL "$PULSE" && wait "$PULSE" 2>/dev/null || true
click 624 12 # 初期化, while the server is gone
click 560 12
close_help
start_pulse
parecord --device=e2e.monitor --file-format=wav "$E2E_TMP/back.wav" &
sleep 0.3
click 560 12
sleep 2
kill -INT $! && wait $! || true
sox "$E2E_TMP/back.wav" "$E2E_TMP/chime.wav" silence 1 0.05 2% 1 0.3 2% : newfile : restart
[ "$(for chime in "$E2E_TMP"/chime*.wav; do soxi -D "$chime"; done | awk '$1 > 0.3' | wc -l)" = 1 ] ||
    fail "HELP was not heard once after the sound server came back"
[ "$(grep -c 'no sound output' "$E2E_TMP/pokorin.log")" = 1 ] ||
    fail "the loss of the sound output should be reported once: $(cat "$E2E_TMP/pokorin.log")"
close_help

echo "-- 終了 answered Yes ends the program at once, though the sound server hangs"
kill -STOP "$PULSE"
click 32 12
xdotool windowactivate --sync "$(find_window '^ポコリンの落下$')" key Return
running() { ps -o stat= -p "$APP" | grep -qv Z; } # a zombie has ended
for _ in $(seq 20); do running && sleep 0.05; done
running && fail "the program did not end within a second"
wait "$APP" || fail "the program ended with status $?"
kill -CONT "$PULSE"

echo "-- twice as large with QT_SCALE_FACTOR=2"
start_program QT_SCALE_FACTOR=2
[ "$W.$H" = "1312.1084" ] || fail "the scaled client area is ${W}x$H"
shot scaled
check_board scaled 2
echo "desktop: 5 passed, 0 failed"
