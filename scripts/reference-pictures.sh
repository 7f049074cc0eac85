#!/usr/bin/env bash
# Renders the reference pictures of tests/reference/QT_MINOR_VERSION/ afresh
# from the current code, with the Qt this machine has (Debian 12 has 6.4,
# Debian 13 has 6.8). A changed picture is a changed promise about what the class sees:
# look at it beside the old one (git difftool, or any image viewer) before
# committing it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$ROOT/build"
for scale in 1 1.5 2; do
    (cd "$ROOT/build/tests" && env QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale \
        POKORIN_REMAKE_PICTURES=1 ./tst_pictures -o /dev/null,txt)
done
if command -v git >/dev/null; then git -C "$ROOT" status --short tests/reference; fi
