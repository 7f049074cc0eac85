# Sourced by the end-to-end scripts: where the main window's parts stand on
# the screen, in logical pixels of its client area, times the scale.

MAIN_TITLE='^ ポコリンの落下の実験$'

# start_program [ENV...]: starts "$BIN/pokorin" from a fresh working folder
# and waits for its window; sets APP, MAIN and the window's geometry.
start_program() {
    local work="$E2E_TMP/work$RANDOM"
    mkdir "$work"
    (cd "$work" && exec env "$@" "$BIN/pokorin") >"$E2E_TMP/pokorin.log" 2>&1 &
    APP=$!
    E2E_PIDS+=("$APP")
    MAIN=$(find_window "$MAIN_TITLE") || fail "the main window did not open"
    window_geometry "$MAIN"
    sleep 0.5
}

# The board's drawing area starts at (10, 34); a board unit is 15.925 by
# 19.85 pixels.
board_x() { awk -v u="$1" -v s="$2" 'BEGIN { printf "%d", s * (8 + int(2 + u * 15.925 + 0.5)) }'; }
board_y() { awk -v u="$1" -v s="$2" 'BEGIN { printf "%d", s * (32 + int(2 + u * 19.85 + 0.5)) }'; }

# click_button NAME [SCALE]
click_button() {
    local s=${2:-1} x y
    case $1 in
    start) x=586 y=508 ;;
    stop) x=474 y=508 ;;
    quit) x=32 y=12 ;;
    initialise) x=624 y=12 ;;
    help) x=560 y=12 ;;
    speed) x=360 y=505 ;;
    esac
    click $((x * s)) $((y * s))
}

# check_board FILE SCALE: the blue lattice and the black bins.
check_board() {
    local file=$1 s=$2 node
    for node in "15 6" "25 6" "20 11" "10 11" "30 11" "24 9"; do
        set -- $node
        near "$file" "$(board_x "$1" "$s")" "$(board_y "$2" "$s")" 0000FF ||
            fail "no blue lattice at ($1, $2) at scale $s"
    done
    near "$file" "$(board_x 10.25 "$s")" "$(board_y 19.5 "$s")" 000000 || fail "no floor under bin 1"
    near "$file" "$(board_x 20.9 "$s")" "$(board_y 15 "$s")" 000000 || fail "no right wall of bin 6"
    near "$file" "$(board_x 20 "$s")" "$(board_y 0.4 "$s")" 0000FF && fail "lattice above the apex"
    return 0
}

check_ball_on_apex() {
    [ "$(pixels "$1" "$(board_x 20.05 "$2")" "$(board_y 1.05 "$2")")" = "FF0000 " ] ||
        fail "the red ball is not on the apex at scale $2"
}

# The title must be drawn in Japanese glyphs: it has to look far more like
# the title rendered by the same font than like a row of empty boxes.
check_japanese_title() {
    local font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf crop="$E2E_TMP/title.png" size
    convert "$1" -crop "329x25+$((ORIGIN_X + 168))+$ORIGIN_Y" +repage -shave 1x1 -fuzz 20% -trim +repage "$crop"
    size=$(identify -format '%wx%h!' "$crop")
    render() {
        convert -background '#FFC080' -fill black -font "$font" -density 96 -pointsize 15.75 \
            -stroke black -strokewidth 0.4 "label:$1" -fuzz 20% -trim +repage -resize "$size" "$2"
    }
    render 'ポコリンの落下の実験' "$E2E_TMP/text.png"
    render '□□□□□□□□□□' "$E2E_TMP/boxes.png"
    local text boxes
    text=$(compare -metric NCC "$crop" "$E2E_TMP/text.png" null: 2>&1 || true)
    boxes=$(compare -metric NCC "$crop" "$E2E_TMP/boxes.png" null: 2>&1 || true)
    echo "title likeness: text $text, boxes $boxes"
    awk -v t="$text" -v b="$boxes" 'BEGIN { exit !(t > 0.6 && t > b + 0.3) }' ||
        fail "the title does not show Japanese glyphs"
}

initialise_enabled() {
    [ "$(darkest "$1" $((600 * $2)) $((5 * $2)) $((49 * $2)) $((15 * $2)))" -lt 80 ]
}

# Waits until the run ends by itself (初期化 becomes enabled), then shoots.
wait_for_run_end() {
    for _ in $(seq 60); do
        sleep 0.5
        shot "$E2E_TMP/finished.png"
        initialise_enabled "$E2E_TMP/finished.png" "$1" && return 0
    done
    fail "the run did not end by itself"
}

# The number of red squares on each stack, counted from the bottom.
stack_heights() {
    local file=$1 s=$2 k i args heights=() colours
    for k in $(seq 0 10); do
        args=()
        for i in $(seq 0 20); do
            args+=($((s * (174 + 32 * k))) $((s * (414 - 8 * i))))
        done
        colours=($(pixels "$file" "${args[@]}"))
        local height=0
        while [ "$height" -lt 21 ] && [ "${colours[$height]}" = FF0000 ]; do height=$((height + 1)); done
        heights+=("$height")
    done
    echo "${heights[*]}"
}

check_one_full_stack() {
    local full=0 h
    for h in $1; do
        [ "$h" -le 20 ] || fail "a stack is higher than 20: $1"
        [ "$h" -eq 20 ] && full=$((full + 1))
    done
    [ "$full" -eq 1 ] || fail "expected exactly one full stack: $1"
}
