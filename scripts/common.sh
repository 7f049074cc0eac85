# Shared by the scripts: install what is missing, then build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What the program needs to build and run.
BUILD_PACKAGES=(g++ cmake ninja-build pkgconf help2man qt6-base-dev qt6-qpa-plugins
    qt6-translations-l10n fonts-ipafont-gothic libpulse-dev libsndfile1-dev qt6-httpserver-dev
    qt6-websockets-dev libqrcodegencpp-dev)
# What building the Debian package needs besides, and checking it.
PACKAGE_PACKAGES=(build-essential debhelper lintian appstream desktop-file-utils)
# What the tests need besides: the benchmark library (the benchmarks are
# built too), clang's libFuzzer, an X server with a window manager and
# screen tools, and a sound server with its recorder.
TEST_PACKAGES=(libbenchmark-dev clang libclang-rt-dev xvfb xauth x11-utils jwm xdotool
    imagemagick pulseaudio pulseaudio-utils sox)

# Installs the named Debian packages that dpkg does not list as installed.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    local install=(apt-get install -y -qq --no-install-recommends "${missing[@]}")
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "error: these packages are missing, and installing them needs root: ${missing[*]}" >&2
            echo "as root, run: apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "${install[@]}"
}

# The page's npm packages, as scripts/web/package-lock.json pins them: the
# MQTT client that the site carries, and what drives the browsers in the tests.
ensure_page_packages() {
    command -v npm >/dev/null || ensure_packages npm
    # npm trusts what the system trusts, as apt does, a proxy's own authority
    # included.
    [ -f /etc/ssl/certs/ca-certificates.crt ] && export npm_config_cafile=/etc/ssl/certs/ca-certificates.crt
    npm ci --prefix "$ROOT/scripts/web" --no-audit --no-fund --silent
}

# configure_and_build DIR [cmake options...]; CI turns warnings into errors.
configure_and_build() {
    local dir=$1
    shift
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOKORIN_WERROR="$werror" "$@" >/dev/null
    cmake --build "$dir" --parallel
}
