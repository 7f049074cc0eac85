# Sourced by the desktop tests: a real X server with a window manager, and
# helpers that look at the screen and act on it like a user. The program
# runs in the caller's locale, whatever it is, so its windows are found by
# their class and their UTF-8 titles (_NET_WM_NAME) read in UTF-8. Every wait
# polls for what it waits for, up to a generous deadline, and notes how long
# it took; the slowest is printed at the end.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()
# A stopped process ends only once it is continued.
trap 'slowest_wait; kill -TERM "${E2E_PIDS[@]}" 2>/dev/null || true; kill -CONT "${E2E_PIDS[@]}" 2>/dev/null || true; wait; rm -rf "$E2E_TMP"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

milliseconds() { echo $(($(date +%s%N) / 1000000)); }

# wait_until SECONDS WHAT CONDITION...: checks the condition every tenth of a
# second until it holds, WHAT in words. After SECONDS it fails, with what the
# condition saw last when it left that in SEEN.
wait_until() {
    local seconds=$1 what=$2 start
    shift 2
    start=$(milliseconds)
    SEEN=
    until "$@"; do
        [ $(($(milliseconds) - start)) -lt $((seconds * 1000)) ] || fail "$what: not within $seconds s${SEEN:+ (seen: $SEEN)}"
        sleep 0.1
    done
    echo "$(($(milliseconds) - start)) $what" >>"$E2E_TMP/waits"
}
slowest_wait() {
    [ -s "$E2E_TMP/waits" ] || return 0
    sort -n "$E2E_TMP/waits" | tail -n 1 | awk '{ t = $1 / 1000; $1 = ""; printf "slowest wait: %.1f s, until%s\n", t, $0 }'
}

# window_titled TITLE_REGEX: the visible window of the program with that title.
window_titled() {
    local id
    for id in $(xdotool search --onlyvisible --class pokorin 2>/dev/null); do
        LC_ALL=C.UTF-8 xprop -id "$id" _NET_WM_NAME 2>/dev/null |
            LC_ALL=C.UTF-8 sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p' |
            LC_ALL=C.UTF-8 grep -qE "$1" && echo "$id" && return 0
    done
    return 1
}

# start_x FIRST_DISPLAY SCREEN_SIZE: Xvfb with an authority file, then jwm.
start_x() {
    local n=$1
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    export DISPLAY=":$n" XAUTHORITY="$E2E_TMP/Xauthority"
    touch "$XAUTHORITY"
    xauth -f "$XAUTHORITY" add "$DISPLAY" . "$(mcookie)"
    Xvfb "$DISPLAY" -auth "$XAUTHORITY" -screen 0 "$2x24" -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 30 "the X server answers" x_answers
    HOME="$E2E_TMP" jwm >"$E2E_TMP/jwm.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 30 "the window manager runs" window_manager_runs
}
x_answers() { xdpyinfo >/dev/null 2>&1; }
window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# find_window TITLE_REGEX [SECONDS]: waits for that window, 20 s at most.
find_window() {
    wait_until "${2:-20}" "a window titled $1 shows" window_titled "$1" >/dev/null
    window_titled "$1"
}
# window_gone TITLE_REGEX: waits until no window has that title.
window_gone() { wait_until 20 "the window titled $1 goes" no_window_titled "$1"; }
no_window_titled() { ! window_titled "$1" >/dev/null; }

# locate WINDOW: sets X0, Y0 (its client area on the screen), W and H.
locate() {
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print "X0=" $4 }
        /Absolute upper-left Y/ { print "Y0=" $4 } /Width:/ { print "W=" $2 } /Height:/ { print "H=" $2 }')"
}

shot() { import -window root "$E2E_TMP/$1.png"; }

# near SHOT COLOUR X Y: the colour is at (X, Y) of the located window or one pixel around.
near() { convert "$E2E_TMP/$1.png" -crop "3x3+$((X0 + $3 - 1))+$((Y0 + $4 - 1))" txt: | grep -q "#$2"; }

# place NAME: the numbers of that place of places.txt.
PLACES="$(dirname "${BASH_SOURCE[0]}")/places.txt"
place() { awk -v name="$1" '$1 == name { $1 = ""; print substr($0, 2); found = 1 } END { exit !found }' "$PLACES"; }

# click PLACE: a click at that place of the located window.
click() {
    local x y
    read -r x y < <(place "$1")
    xdotool mousemove $((X0 + x)) $((Y0 + y)) click 1
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
    wait_until 30 "PulseAudio answers" pulse_answers
}
pulse_answers() { pactl info >/dev/null 2>&1; }
MAIN_TITLE='^ ポコリンの落下の実験$'
# start_program [VARIABLE=VALUE...]: ${PROGRAM[@]} in the scratch folder, and its main window.
start_program() {
    (cd "$E2E_TMP" && exec env "$@" "${PROGRAM[@]}") >"$E2E_TMP/pokorin.log" 2>&1 &
    APP=$!
    E2E_PIDS+=("$APP")
    MAIN=$(find_window "$MAIN_TITLE" 60)
    locate "$MAIN"
}
# board X Y [SCALE]: where a point in board units lies in the client area.
board() {
    local x0 y0 across down
    read -r x0 y0 across down < <(place board)
    awk -v u="$1" -v v="$2" -v s="${3:-1}" -v x0="$x0" -v y0="$y0" -v a="$across" -v d="$down" \
        'BEGIN { printf "%d %d", s * (x0 + u * a) + 0.5, s * (y0 + v * d) + 0.5 }'
}
# board_drawn SHOT SCALE: the lattice, the bins and the ball on the apex.
board_drawn() {
    local node
    for node in "15 6" "25 6" "20 11" "10 11" "30 11"; do
        near "$1" 0000FF $(board $node "$2") || { SEEN="no lattice at ($node)"; return 1; }
    done
    near "$1" 000000 $(board 10.25 19.5 "$2") || { SEEN="no floor under bin 1"; return 1; }
    near "$1" 0000FF $(board 20 0.4 "$2") && { SEEN="lattice above the apex"; return 1; }
    near "$1" FF0000 $(board 20.05 1.05 "$2") || { SEEN="no ball on the apex"; return 1; }
}
# check_board SHOT SCALE: waits until a picture of the screen shows the board.
check_board() { wait_until 30 "the board shows at scale $2" shot_shows "$1" board_drawn "$1" "$2"; }
# shot_shows SHOT CHECK...: takes the picture, then checks it.
shot_shows() {
    shot "$1"
    shift
    "$@"
}
dark() { # dark SHOT PLACE: how many dark pixels that rectangle of the located window holds
    local x y w h
    read -r x y w h < <(place "$2")
    convert "$E2E_TMP/$1.png" -crop "${w}x$h+$((X0 + x))+$((Y0 + y))" -colorspace Gray -threshold 40% \
        -format '%[fx:int(w * h * (1 - mean))]' info:
}
counter_moved() { # counter_moved SHOT: the drop counter no longer shows what it showed in "before"
    SEEN="the counter unchanged"
    [ "$(dark before drop-counter)" != "$(dark "$1" drop-counter)" ]
}
help_text_shown() { # help_text_shown SHOT: the located help window shows its text
    SEEN="$(dark "$1" help-text) dark pixels"
    [ "$(dark "$1" help-text)" -gt 1000 ]
}
land_balls() { # a run at 10 ms a level until the counter has moved, then stopped
    shot before
    click fall-speed
    xdotool key ctrl+a type 10
    click start
    wait_until 30 "a ball lands" shot_shows running counter_moved running
    click stop
}
close_help() {
    local help
    help=$(find_window ヘルプ)
    locate "$help"
    click close
    window_gone ヘルプ
    locate "$MAIN"
}

# bursts RECORDING: "COUNT QUIET LENGTH" of a raw 8 kHz recording: the chimes in
# it (sound parted by 0.3 s of silence), the seconds of silence at its end and
# its length in seconds.
bursts() {
    od -An -v -td2 -w2 "$1" | awk 'BEGIN { quiet = 2400 }
        { if ($1 > 300 || $1 < -300) { n += quiet >= 2400; quiet = 0 } else quiet++ }
        END { printf "%d %.1f %.1f\n", n, quiet / 8000, NR / 8000 }'
}
# chime_over RECORDING N: N chimes or more were heard, and a second of silence after them.
chime_over() {
    local count quiet length
    read -r count quiet length < <(bursts "$1")
    SEEN="$count chimes heard in $length s of recording"
    [ "$count" -gt "$2" ] || { [ "$count" -eq "$2" ] && awk -v q="$quiet" 'BEGIN { exit !(q >= 1) }'; }
}
# expect_chimes N WHAT COMMAND...: runs the command while the null sink is
# recorded; exactly N chimes must be heard, each to its end, within 15 s.
expect_chimes() {
    local expected=$1 what=$2 heard="$E2E_TMP/heard.raw" recorder count length
    shift 2
    parec --device=e2e.monitor --raw --format=s16le --channels=1 --rate=8000 --latency-msec=50 >"$heard" &
    recorder=$!
    E2E_PIDS+=("$recorder")
    wait_until 15 "the recorder records" test -s "$heard"
    "$@"
    wait_until 15 "$what sounds and ends" chime_over "$heard" "$expected"
    kill -INT "$recorder" && wait "$recorder" || true
    read -r count _ length < <(bursts "$heard")
    [ "$count" = "$expected" ] || fail "$what: $count chimes heard in $length s of recording, not $expected"
}
# program_ended: the program's process has ended (a zombie has).
program_ended() { ! ps -o stat= -p "$APP" | grep -qv Z; }
# 終了, then はい: the program must end, and well, though its sound server may hang.
quit_with_yes() {
    local box
    click quit
    box=$(find_window '^ポコリンの落下$')
    xdotool windowactivate --sync "$box" key Return
    wait_until 10 "the program ends after はい" program_ended
    wait "$APP" || fail "the program ended with status $?"
}
