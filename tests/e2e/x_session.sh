# Sourced by the end-to-end scripts: a real X server with a window manager,
# and helpers that look at the screen and act on it like a user.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_PIDS=()

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
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
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
    HOME="$E2E_TMP" jwm >"$E2E_TMP/jwm.log" 2>&1 &
    E2E_PIDS+=($!)
    sleep 0.5
}

# find_window NAME_REGEX: the id of the visible window with that title.
find_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

window_gone() {
    ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# Sets ORIGIN_X, ORIGIN_Y, WIN_W, WIN_H: the client area on the screen.
window_geometry() {
    local info
    info=$(xwininfo -id "$1")
    ORIGIN_X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    ORIGIN_Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    WIN_W=$(awk '/Width:/ {print $2}' <<<"$info")
    WIN_H=$(awk '/Height:/ {print $2}' <<<"$info")
}

shot() {
    /usr/bin/import -window root "$1"
}

# pixels FILE X Y [X Y ...]: the hex colours at those client positions.
pixels() {
    local file=$1 format="" x y
    shift
    while [ $# -gt 0 ]; do
        x=$((ORIGIN_X + $1)) y=$((ORIGIN_Y + $2))
        format+="%[hex:p{$x,$y}] "
        shift 2
    done
    convert "$file" -format "$format" info:
}

# near FILE X Y COLOUR: true if the colour is at or one pixel around (X, Y).
near() {
    local file=$1 x=$2 y=$3 colour=$4 args=() dx dy
    for dy in -1 0 1; do
        for dx in -1 0 1; do
            args+=($((x + dx)) $((y + dy)))
        done
    done
    [[ " $(pixels "$file" "${args[@]}") " == *" $colour "* ]]
}

click() {
    xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) click 1
    sleep 0.3
}

# darkest FILE X Y W H: the lowest grey level (0-255) within a client rectangle.
darkest() {
    convert "$1" -crop "$4x$5+$((ORIGIN_X + $2))+$((ORIGIN_Y + $3))" -colorspace Gray \
        -format '%[fx:int(255*minima)]' info:
}
