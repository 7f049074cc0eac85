#!/usr/bin/env bash
# Real sound: the chimes of HELP and 終了 recorded from a PulseAudio null
# sink, and the same clicks without any sound server.
# Usage: sound_e2e.sh FOLDER_WITH_POKORIN WAV_BURSTS_TOOL
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
source "$(dirname "${BASH_SOURCE[0]}")/form1_screen.sh"

BIN=$(cd "$1" && pwd)
BURSTS=$2
start_x 110 1024x768

# The two chime clicks; the quit box is answered No.
help_then_quit() {
    click_button help
    HELP=$(find_window 'ヘルプ') || fail "the help window did not open"
    sleep 2.5
    window_geometry "$HELP"
    click 584 12 # 閉じる, so that the help window no longer covers 終了
    window_geometry "$MAIN"
    click_button quit
    BOX=$(find_window '^ポコリンの落下$') || fail "no quit box"
    sleep 2.5
    xdotool windowactivate --sync "$BOX"
    xdotool key Escape
    sleep 0.5
    xdotool search --onlyvisible --name "$MAIN_TITLE" >/dev/null || fail "the main window went away"
}

echo "-- with a PulseAudio server and a null sink"
export PULSE_RUNTIME_PATH="$E2E_TMP/pulse"
socket="$E2E_TMP/pulse.socket"
# As root PulseAudio warns but runs; its state stays in our folder.
HOME="$E2E_TMP" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    -L "module-null-sink sink_name=e2e" \
    -L "module-native-protocol-unix socket=$socket auth-anonymous=1" >"$E2E_TMP/pulse.log" 2>&1 &
E2E_PIDS+=($!)
export PULSE_SERVER="unix:$socket"
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "PulseAudio did not start: $(cat "$E2E_TMP/pulse.log")"
parecord --device=e2e.monitor --file-format=wav "$E2E_TMP/recording.wav" &
RECORDER=$!
E2E_PIDS+=("$RECORDER")
start_program
help_then_quit
kill -INT "$RECORDER"
wait "$RECORDER" || true
kill "$APP"
report=$("$BURSTS" "$E2E_TMP/recording.wav")
echo "$report"
[ "$(head -n 1 <<<"$report")" = "bursts 2" ] || fail "expected two chimes in the recording"
tail -n 2 <<<"$report" | awk 'NR == 1 { l = $2; c = $3 } NR == 2 {
    exit !((l - $2) ^ 2 > 0.15 ^ 2 || (c - $3) ^ 2 > (0.15 * c) ^ 2) }' ||
    fail "the two chimes sound the same"

echo "-- without any sound server"
unset PULSE_SERVER
start_program XDG_RUNTIME_DIR="$E2E_TMP/nothing"
help_then_quit
[ "$(grep -c 'no sound output' "$E2E_TMP/pokorin.log")" = 1 ] ||
    fail "expected one warning about the missing sound output: $(cat "$E2E_TMP/pokorin.log")"
kill "$APP"

echo "sound: 2 passed, 0 failed"
