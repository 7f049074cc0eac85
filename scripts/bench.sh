#!/usr/bin/env bash
# Installs what is missing, builds, and prints every benchmark figure as
# "name value unit" (about ten minutes: two of them the class host's, three
# and a half its attacks).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

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
