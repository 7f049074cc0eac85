# Sourced by the desktop tests: a real X server with a window manager, and
# helpers that look at the screen and act on it like a user. The program
# runs in the caller's locale, whatever it is, so its windows are found by
# their class and their UTF-8 titles (_NET_WM_NAME) read in UTF-8.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()
# A stopped process ends only once it is continued.
trap 'kill -TERM "${E2E_PIDS[@]}" 2>/dev/null || true; kill -CONT "${E2E_PIDS[@]}" 2>/dev/null || true; wait; rm -rf "$E2E_TMP"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# window_titled TITLE_REGEX: the visible window of the program with that title.
window_titled() {
    local id
    for id in $(xdotool search --onlyvisible --class pokorin 2>/dev/null); do
        LC_ALL=C.UTF-8 xprop -id "$id" _NET_WM_NAME |
            LC_ALL=C.UTF-8 sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p' |
            LC_ALL=C.UTF-8 grep -qE "$1" && echo "$id" && return 0
    done
    return 1
}
export -f window_titled

# start_x FIRST_DISPLAY SCREEN_SIZE: Xvfb with an authority file, then jwm.
start_x() {
    local n=$1
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    export DISPLAY=":$n" XAUTHORITY="$E2E_TMP/Xauthority"
    touch "$XAUTHORITY"
    xauth -f "$XAUTHORITY" add "$DISPLAY" . "$(mcookie)"
    Xvfb "$DISPLAY" -auth "$XAUTHORITY" -screen 0 "$2x24" -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    HOME="$E2E_TMP" jwm >"$E2E_TMP/jwm.log" 2>&1 &
    E2E_PIDS+=($!)
    sleep 0.5
}

# find_window TITLE_REGEX [SECONDS]: waits for that window, 20 s at most.
find_window() { timeout "${2:-20}" bash -c 'until window_titled "$0"; do sleep 0.1; done' "$1"; }

# locate WINDOW: sets X0, Y0 (its client area on the screen), W and H.
locate() {
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print "X0=" $4 }
        /Absolute upper-left Y/ { print "Y0=" $4 } /Width:/ { print "W=" $2 } /Height:/ { print "H=" $2 }')"
}

shot() { import -window root "$E2E_TMP/$1.png"; }

# near SHOT COLOUR X Y: the colour is at (X, Y) of the located window or one pixel around.
near() { convert "$E2E_TMP/$1.png" -crop "3x3+$((X0 + $3 - 1))+$((Y0 + $4 - 1))" txt: | grep -q "#$2"; }

click() {
    xdotool mousemove $((X0 + $1)) $((Y0 + $2)) click 1
    sleep 0.3
}

# A PulseAudio server with a null sink "e2e", whose monitor a test records.
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
# start_program [VARIABLE=VALUE...]: ${PROGRAM[@]} in the scratch folder, and its main window.
start_program() {
    (cd "$E2E_TMP" && exec env "$@" "${PROGRAM[@]}") >"$E2E_TMP/pokorin.log" 2>&1 &
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
land_balls() { # a run at 10 ms a level, stopped after two seconds: the counter must have moved
    shot before
    click 360 505 # 落下速度
    xdotool key ctrl+a type 10
    click 586 508 # 開始
    sleep 2
    shot running
    click 474 508 # 停止
    [ "$(dark before 144 496 81 25)" != "$(dark running 144 496 81 25)" ] || fail "no ball landed"
}
close_help() {
    locate "$(find_window ヘルプ)"
    click 584 12 # 閉じる
    locate "$MAIN"
}

# chimes_heard COMMAND...: how many chimes the null sink plays while the command runs.
chimes_heard() {
    parecord --device=e2e.monitor --file-format=wav "$E2E_TMP/heard.wav" &
    local recorder=$! chime
    sleep 0.3
    "$@"
    sleep 2
    kill -INT "$recorder" && wait "$recorder" || true
    rm -f "$E2E_TMP"/chime*.wav
    sox "$E2E_TMP/heard.wav" "$E2E_TMP/chime.wav" silence 1 0.05 2% 1 0.3 2% : newfile : restart
    for chime in "$E2E_TMP"/chime*.wav; do soxi -D "$chime"; done | awk '$1 > 0.3' | wc -l
}
# 終了, then はい: the program must end within a second, and well.
quit_with_yes() {
    click 32 12
    xdotool windowactivate --sync "$(find_window '^ポコリンの落下$')" key Return
    running() { ps -o stat= -p "$APP" | grep -qv Z; } # a zombie has ended
    for _ in $(seq 20); do running && sleep 0.05; done
    running && fail "the program did not end within a second"
    wait "$APP" || fail "the program ended with status $?"
}
