# Shared by the scripts: install what is missing, then build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What the program needs to build and run.
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev qt6-qpa-plugins qt6-multimedia-dev
    qt6-translations-l10n fonts-ipafont-gothic libbenchmark-dev)
# What the tests need besides: clang's libFuzzer, an X server with a window
# manager and screen tools, a sound server, and the package checker.
TEST_PACKAGES=(clang libclang-rt-14-dev xvfb xauth x11-utils jwm xdotool imagemagick
    pulseaudio pulseaudio-utils desktop-file-utils)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "error: installing packages needs root or sudo; install them by hand: $*" >&2
        exit 1
    fi
}

# Installs the named Debian packages that dpkg does not list as installed.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
    fi
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
