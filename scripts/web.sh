#!/usr/bin/env bash
# Installs what is missing, builds Qt for WebAssembly once into the cache,
# builds the program into build-web/site/ (a static web page, each file also
# compressed) and runs the web tests: the core tests and the runner under
# node, the page in Chromium, Firefox ESR and WebKitGTK, and the whole class
# as one experiment, the page served by pokorin --class to the three and, as
# root, to a Chromium in a network namespace of its own, then the class
# through a relay, Debian's mosquitto.
# Usage: web.sh [--relay wss://BROKER/PATH], the relay a teacher's page uses
# unless its address names another.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ROOT/scripts/cross-qt.sh"
relay=
if [ "${1:-}" = --relay ]; then
    relay=${2:?"--relay needs the relay's address, ws:// or wss://"}
fi

# Firefox draws WebGL only on a display, with Mesa; it and WebKitGTK play
# sound only to a sound server.
# The class test drives the teacher's window with a window manager and reads
# its QR code; its network test makes namespaces for a second computer. The
# relay's test runs the broker a school runs, and an https page of its own.
ensure_packages "${BUILD_PACKAGES[@]}" "${CROSS_QT_PACKAGES[@]}" emscripten python3-fonttools brotli \
    chromium firefox-esr webkit2gtk-driver xvfb libgl1-mesa-dri pulseaudio imagemagick jwm x11-utils \
    xdotool zbar-tools iproute2 mosquitto openssl
ensure_page_packages

# The native build makes the chimes, and tells what the web build must print.
configure_and_build "$ROOT/build"
EMSDK=$(emsdk_folder)
export EMSDK EMSCRIPTEN=/usr/share/emscripten NODE_PATH=/usr/share/nodejs
cross_build web "$ROOT/build-web" MinSizeRel -DPOKORIN_RELAY="$relay"

echo "== the tests in the browser's engine, under node"
ctest --test-dir "$ROOT/build-web" --output-on-failure
same_runs_as_linux pokorin-sim.js node --no-experimental-fetch "$ROOT/scripts/node_run.cjs" \
    "$ROOT/build-web/bin/pokorin-sim.js"

echo "== the page in Chromium, Firefox and WebKitGTK"
node "$ROOT/tests/web/page_test.mjs" "$ROOT/build-web/site"

echo "== the class: pokorin --class serves the page to Chromium, Firefox and WebKitGTK and pools their balls"
node "$ROOT/tests/web/class_test.mjs" "$ROOT/build/bin"
echo "== the class from a second computer: a student's Chromium reaches pokorin-class over a veth link"
node "$ROOT/tests/web/class_network_test.mjs" "$ROOT/build/bin"
echo "== the class through a relay: mosquitto carries students' runs from the three engines to the teacher's page"
node "$ROOT/tests/web/relay_test.mjs" "$ROOT/build-web/site"

echo "== the site's size as a browser downloads it (brotli where it helps)"
total=0
for file in "$ROOT"/build-web/site/*; do
    case $file in *.br | *.gz) continue ;; esac
    sent=$file
    [ -f "$file.br" ] && sent=$file.br
    printf '%-22s %9d bytes, %9d raw\n' "$(basename "$file")" "$(stat -c %s "$sent")" "$(stat -c %s "$file")"
    total=$((total + $(stat -c %s "$sent")))
done
echo "in all: $total bytes"
