#!/usr/bin/env bash
# Makes docs/screenshot.png from the running program under Xvfb: a run at
# 10 ms per level, stopped after a few seconds, with its ratios shown.
# `screenshot.sh windows` makes docs/screenshot-windows.png of pokorin.exe
# under Wine instead (after scripts/windows.sh), `screenshot.sh web`
# docs/screenshot-web.png of the page in headless Chromium (after
# scripts/web.sh), `screenshot.sh class` docs/screenshot-class*.png of the
# class window's three views after a lesson of 38 simulated students.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
if [ "${1:-}" = web ]; then
    exec node "$ROOT/scripts/web/screenshot.mjs" "$ROOT/build-web/site" "$ROOT/docs/screenshot-web.png"
fi
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth x11-utils jwm xdotool imagemagick
configure_and_build "$ROOT/build"
if [ "${1:-}" = class ]; then
    QT_QPA_PLATFORM=offscreen "$ROOT/build/bin/class_window_picture" lesson 38 \
        "$ROOT"/docs/screenshot-class{,-devices,-chart,-join}.png
    echo "wrote docs/screenshot-class.png, -devices.png, -chart.png and -join.png"
    exit 0
fi

source "$ROOT/scripts/desktop_session.sh"
start_x 150 1024x768
export PULSE_SERVER="unix:$E2E_TMP/none"
if [ "${1:-}" = windows ]; then
    PROGRAM=(bash "$ROOT/scripts/wine.sh" "$ROOT/build-win/bin/pokorin.exe")
    picture="$ROOT/docs/screenshot-windows.png"
else
    PROGRAM=("$ROOT/build/bin/pokorin")
    picture="$ROOT/docs/screenshot.png"
fi
start_program
type_fall_speed 10
click start
sleep 4
click stop
sleep 0.5
mkdir -p "$ROOT/docs"
import -window "$(xdotool search --onlyvisible --class pokorin | head -1)" -frame "$picture"
echo "wrote ${picture#"$ROOT/"}"
