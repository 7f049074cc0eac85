#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$ROOT/build"
exec "$ROOT/build/bin/pokorin" "$@"
