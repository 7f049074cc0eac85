#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$ROOT/build"
ctest --test-dir "$ROOT/build" --output-on-failure --parallel "$(nproc)"
