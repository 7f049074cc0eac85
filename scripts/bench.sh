#!/usr/bin/env bash
# Installs what is missing, builds, and prints every benchmark figure as
# "name value unit" (about ten minutes: two of them the class host's, three
# and a half its attacks; about eight more for the relay once scripts/web.sh
# has built the site). With "windows", only the Windows class host:
# class_bench.exe under Wine against 40 devices on Linux for a minute (about
# two minutes once Qt for Windows is in the cache).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ "${1:-}" = windows ]; then
    source "$ROOT/scripts/cross-qt.sh"
    ensure_packages "${BUILD_PACKAGES[@]}" "${CROSS_QT_PACKAGES[@]}" g++-mingw-w64-x86-64-posix wine wine64
    configure_and_build "$ROOT/build"
    cross_build windows "$ROOT/build-win" Release
    cmake --build "$ROOT/build-win" --target class_bench
    # A Wine prefix of its own with a server started here, whose processor
    # time the host's sockets and timers take a share of.
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/pokorin-bench-wine.XXXXXX")
    export WINEPREFIX
    bash "$ROOT/scripts/wine.sh" cmd /c exit # makes the prefix
    wineserver -w
    wineserver -f -p &
    server=$!
    trap 'wineserver -k; wait "$server"; rm -rf "$WINEPREFIX"' EXIT
    bash "$ROOT/scripts/wine.sh" cmd /c exit # once it serves
    ticks() { awk '{ print $14 + $15 }' "/proc/$server/stat"; }
    before=$(ticks) started=$(date +%s.%N)
    # The class window draws with a Japanese face, as on Linux.
    QT_QPA_FONTDIR=/usr/share/fonts/opentype/ipafont-gothic QT_QPA_PLATFORM=offscreen \
        "$ROOT/build/bench/class_bench" "$ROOT/build-web/site" \
        --host bash "$ROOT/scripts/wine.sh" "$ROOT/build-win/bench/class_bench.exe" 2>/dev/null
    spent=$(($(ticks) - before)) ended=$(date +%s.%N)
    awk -v ticks="$spent" -v hz="$(getconf CLK_TCK)" -v from="$started" -v to="$ended" 'BEGIN {
        printf "class_wine_40_devices_wineserver_processor %.4g %%_of_a_core\n", ticks / hz / (to - from) * 100 }'
    exit
fi

ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev
configure_and_build "$ROOT/build"
"$ROOT/build/bench/core_bench"
"$ROOT/build/bench/window_bench" 2>/dev/null
# The class host under 40 and 300 simulated devices, and forty downloads of
# the site when scripts/web.sh has built it.
QT_QPA_PLATFORM=offscreen "$ROOT/build/bench/class_bench" "$ROOT/build-web/site" 2>/dev/null
# One prankster's attacks on the host while an honest device joins, and the
# pool's file at the limit of runs.
QT_QPA_PLATFORM=offscreen "$ROOT/build/bench/attack_bench" "$ROOT/build-web/site" 2>/dev/null
# The class through a relay, when scripts/web.sh has built the site: 40, 300
# and 1000 simulated devices through mosquitto to the teacher's page in
# Chromium.
if [ -d "$ROOT/build-web/site" ]; then
    ensure_packages mosquitto chromium
    ensure_page_packages
    node "$ROOT/bench/relay_bench.mjs" "$ROOT/build-web/site"
fi
