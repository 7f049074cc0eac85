#!/usr/bin/env bash
# Installs what is missing, builds, and prints every benchmark figure as
# "name value unit".
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev
configure_and_build "$ROOT/build"
"$ROOT/build/bench/core_bench"
"$ROOT/build/bench/window_bench" 2>/dev/null
