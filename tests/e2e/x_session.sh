# Sourced by the desktop tests: a real X server with a window manager, and
# helpers that look at the screen and act on it like a user. Titles are
# matched in UTF-8 whatever the caller's locale; the program keeps the
# caller's locale.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()
trap 'kill "${E2E_PIDS[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$E2E_TMP"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

xdo() { LC_ALL=C.UTF-8 xdotool "$@"; }

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

# find_window TITLE_REGEX [SECONDS]: the visible window with that title.
find_window() { timeout "${2:-20}" bash -c 'LC_ALL=C.UTF-8 xdotool search --sync --onlyvisible --name "$0" | head -n 1' "$1"; }

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
