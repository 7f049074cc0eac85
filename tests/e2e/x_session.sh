# Sourced by the desktop tests: a real X server with a window manager, and
# helpers that look at the screen and act on it like a user. The program
# runs in the caller's locale, whatever it is, so its windows are found by
# their class and their UTF-8 titles (_NET_WM_NAME) read in UTF-8.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()
# A stopped process ends only once it is continued.
trap 'kill -TERM "${E2E_PIDS[@]}" 2>/dev/null; kill -CONT "${E2E_PIDS[@]}" 2>/dev/null; wait; rm -rf "$E2E_TMP"' EXIT

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
