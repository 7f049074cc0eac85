#!/usr/bin/env bash
# Installs what is missing and builds the Debian package from a clean copy of
# the tree: the .deb files land in build-deb/ (or the folder given). The web
# build's site goes into the package too when scripts/web.sh has made it, for
# pokorin --class to serve.
# Usage: package.sh [OUTPUT_FOLDER]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
out=$(mkdir -p "${1:-$ROOT/build-deb}" && cd "${1:-$ROOT/build-deb}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/pokorin"
tar -C "$ROOT" --exclude-vcs --exclude='./build*' --exclude='./obj-*' -cf - . | tar -C "$work/pokorin" -xf -
[ ! -f "$ROOT/build-web/site/index.html" ] || cp -r "$ROOT/build-web/site" "$work/pokorin/web-site"
(cd "$work/pokorin" && dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
    { tail -n 40 "$work/build.log" >&2; exit 1; }
mv "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$out"/
ls "$out"/*.deb
