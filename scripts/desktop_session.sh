# Sourced by the screenshot script and the end-to-end tests: an X server with
# a window manager, a sound server, and the program driven like a user, by
# the places of places.txt and the windows' layout that the build writes
# (build/layout.txt, or POKORIN_LAYOUT). Windows are found by their class and UTF-8 titles,
# in any locale. Every wait polls up to a generous deadline; the slowest is
# printed at the end.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()
# A stopped process ends only once it is continued.
trap 'slowest_wait; kill -TERM "${E2E_PIDS[@]}" 2>/dev/null || true; kill -CONT "${E2E_PIDS[@]}" 2>/dev/null || true; wait; rm -rf "$E2E_TMP"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_until SECONDS WHAT CONDITION...: checks the condition every tenth of a
# second until it holds; after SECONDS it fails with what the condition last
# left in SEEN.
wait_until() {
    local seconds=$1 what=$2 start
    shift 2
    start=$(date +%s%N) SEEN=
    until "$@" >/dev/null 2>&1; do
        (($(date +%s%N) - start < seconds * 10 ** 9)) || fail "$what: not within $seconds s${SEEN:+ (seen: $SEEN)}"
        sleep 0.1
    done
    echo "$((($(date +%s%N) - start) / 10 ** 6)) $what" >>"$E2E_TMP/waits"
}
slowest_wait() {
    [ ! -s "$E2E_TMP/waits" ] || sort -n "$E2E_TMP/waits" | tail -n 1 |
        awk '{ t = $1 / 1000; $1 = ""; printf "slowest wait: %.1f s, until%s\n", t, $0 }'
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
# find_window TITLE_REGEX [SECONDS]: waits for that window.
find_window() {
    wait_until "${2:-20}" "a window titled $1 shows" window_titled "$1"
    window_titled "$1"
}

# start_x FIRST_DISPLAY SCREEN_SIZE: Xvfb with an authority file, then jwm.
# Without -noreset the server resets as xdpyinfo, its first client, leaves,
# and refuses whoever connects meanwhile.
start_x() {
    local n=$1
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    export DISPLAY=":$n" XAUTHORITY="$E2E_TMP/Xauthority"
    : >"$XAUTHORITY"
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$(mcookie)"
    Xvfb "$DISPLAY" -auth "$XAUTHORITY" -screen 0 "$2x24" -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 30 "the X server answers" xdpyinfo
    HOME="$E2E_TMP" jwm >"$E2E_TMP/jwm.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 30 "the window manager runs" eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# A PulseAudio server with a null sink "e2e", whose monitor a test records;
# without one, the program finds no sound server and stays silent.
export PULSE_SERVER="unix:$E2E_TMP/pulse.socket" PULSE_RUNTIME_PATH="$E2E_TMP/pulse"
start_pulse() { # as root PulseAudio warns, but runs
    HOME="$E2E_TMP" pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        -L "module-null-sink sink_name=e2e" -L "module-native-protocol-unix socket=$E2E_TMP/pulse.socket" \
        >>"$E2E_TMP/pulse.log" 2>&1 &
    PULSE=$!
    E2E_PIDS+=("$PULSE")
    wait_until 30 "PulseAudio answers" pactl info
}

# locate WINDOW: sets X0, Y0 (its client area on the screen), W and H.
locate() {
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print "X0=" $4 }
        /Absolute upper-left Y/ { print "Y0=" $4 } /Width:/ { print "W=" $2 } /Height:/ { print "H=" $2 }')"
}
MAIN_TITLE='^ ポコリンの落下の実験$'
# start_program: ${PROGRAM[@]} in the scratch folder, and its main window located.
start_program() {
    (cd "$E2E_TMP" && exec "${PROGRAM[@]}") >"$E2E_TMP/pokorin.log" 2>&1 &
    APP=$!
    E2E_PIDS+=("$APP")
    MAIN=$(find_window "$MAIN_TITLE" 60)
    locate "$MAIN"
}

E2E_PLACES=("$(dirname "${BASH_SOURCE[0]}")/places.txt"
    "${POKORIN_LAYOUT:-$(dirname "${BASH_SOURCE[0]}")/../build/layout.txt}")
# place NAME: the numbers of that place in places.txt or the layout.
place() { awk -v name="$1" '$1 == name { $1 = ""; print; found = 1 } END { exit !found }' "${E2E_PLACES[@]}"; }
click() { # click PLACE: in the located window
    local x y
    read -r x y < <(place "$1")
    xdotool mousemove $((X0 + x)) $((Y0 + y)) click 1
    sleep 0.3
}
type_fall_speed() { # type_fall_speed MS: over what the field holds
    click fall-speed
    xdotool key ctrl+a type "$1"
}
shot() { import -window root "$E2E_TMP/$1.png"; }
