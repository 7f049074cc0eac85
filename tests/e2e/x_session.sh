# Sourced by the end-to-end tests: what they look for on the screen and hear
# from the sound server, on top of the desktop session that drives the program.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/desktop_session.sh"

shot_shows() { shot "$1" && "${@:2}"; } # shot_shows SHOT CHECK...: a new picture, checked
# near SHOT COLOUR X Y: the colour, or one close to it (a scaled page smooths
# it), is at (X, Y) of the located window or one pixel around.
near() { convert "$E2E_TMP/$1.png" -crop "3x3+$((X0 + $3 - 1))+$((Y0 + $4 - 1))" -fuzz 25% -fill '#ABCDEF' -opaque "#$2" txt: | grep -q '#ABCDEF'; }
dark() { # dark SHOT PLACE: how many dark pixels that rectangle of the located window holds
    local x y w h
    read -r x y w h < <(place "$2")
    convert "$E2E_TMP/$1.png" -crop "${w}x$h+$((X0 + x))+$((Y0 + y))" -colorspace Gray -threshold 40% \
        -format '%[fx:int(w * h * (1 - mean))]' info:
}
board() { # board X Y [SCALE]: where a point in board units lies in the client area
    awk -v u="$1" -v v="$2" -v s="${3:-1}" '{ printf "%d %d", s * ($1 + u * $3) + 0.5, s * ($2 + v * $4) + 0.5 }' <(place board)
}
board_drawn() { # board_drawn SHOT SCALE: the lattice, the bins and the ball on the apex
    local node
    for node in "15 6" "25 6" "20 11" "10 11" "30 11"; do
        near "$1" 0000FF $(board $node "$2") || { SEEN="no lattice at ($node)" && return 1; }
    done
    near "$1" 000000 $(board 10.25 19.5 "$2") || { SEEN="no floor under bin 1" && return 1; }
    ! near "$1" 0000FF $(board 20 0.4 "$2") || { SEEN="lattice above the apex" && return 1; }
    near "$1" FF0000 $(board 20.05 1.05 "$2") || { SEEN="no ball on the apex" && return 1; }
}
check_board() { wait_until 30 "the board shows at scale $2" shot_shows "$1" board_drawn "$1" "$2"; }
counter_moved() { SEEN="the counter unchanged" && [ "$(dark before drop-counter)" != "$(dark "$1" drop-counter)" ]; }
help_text_shown() { SEEN="$(dark "$1" help-text) dark pixels" && [ "${SEEN%% *}" -gt 1000 ]; }
land_balls() { # a run at 10 ms a level until the counter has moved, then stopped
    shot before
    type_fall_speed 10
    click start
    wait_until 30 "a ball lands" shot_shows running counter_moved running
    click stop
}
no_window_titled() { ! window_titled "$1"; }
close_help() {
    locate "$(find_window ヘルプ)"
    click close
    wait_until 20 "the help window goes" no_window_titled ヘルプ
    locate "$MAIN"
}

# bursts RECORDING: "COUNT QUIET LENGTH" of a raw 8 kHz recording: its chimes
# (sound parted by 0.3 s of silence), the silence at its end and its length.
bursts() {
    od -An -v -td2 -w2 "$1" | awk 'BEGIN { quiet = 2400 }
        { if ($1 > 300 || $1 < -300) { n += quiet >= 2400; quiet = 0 } else quiet++ }
        END { printf "%d %.1f %.1f\n", n, quiet / 8000, NR / 8000 }'
}
chime_over() { # chime_over RECORDING N: N chimes or more were heard, then a second of silence
    local count quiet length
    read -r count quiet length < <(bursts "$1")
    SEEN="$count chimes heard in $length s of recording"
    ((count > $2)) || { ((count == $2)) && awk -v q="$quiet" 'BEGIN { exit !(q >= 1) }'; }
}
# expect_chimes N WHAT COMMAND...: runs the command while the null sink is
# recorded; exactly N chimes must be heard, each to its end, within 15 s.
expect_chimes() {
    local heard="$E2E_TMP/heard.raw" count length
    parec --device=e2e.monitor --raw --format=s16le --channels=1 --rate=8000 --latency-msec=50 >"$heard" &
    local recorder=$!
    E2E_PIDS+=("$recorder")
    wait_until 15 "the recorder records" test -s "$heard"
    "${@:3}"
    wait_until 15 "$2 sounds and ends" chime_over "$heard" "$1"
    kill -INT "$recorder" && wait "$recorder" || true
    read -r count _ length < <(bursts "$heard")
    [ "$count" = "$1" ] || fail "$2: $count chimes heard in $length s of recording, not $1"
}
# 終了, then はい: the program must end, and well, though its sound server may hang.
quit_with_yes() {
    click quit
    xdotool windowactivate --sync "$(find_window '^ポコリンの落下$')" key Return
    wait_until 10 "the program ends after はい" eval '! ps -o stat= -p "$APP" | grep -qv Z'
    wait "$APP" || fail "the program ended with status $?"
}
