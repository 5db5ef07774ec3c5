# Sourced by play.sh and test.sh: installs the Debian packages the project needs.
# As root it runs apt-get; otherwise it prints the exact command and stops.

BUILD_PACKAGES=(cmake make g++ pkg-config libsdl1.2-dev libsdl-image1.2-dev)
# SDL 1.2 over SDL2, beside the classic library: what scales the window above 480x320.
SCALE_PACKAGES=(libsdl1.2-compat)
# The browser build (web.sh): Debian's Emscripten, apt-get source for SDL's sources, and
# Chromium for the browser tests.
WEB_PACKAGES=(emscripten dpkg-dev)
WEB_TEST_PACKAGES=(chromium)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xdotool wmctrl x11-utils imagemagick libsdl1.2-compat valgrind clang libclang-rt-dev desktop-file-utils)

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

ensure_packages() {
    local missing
    missing=$(missing_packages "$@" | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:"
        echo "  sudo apt-get update && sudo apt-get install -y $missing"
        exit 1
    fi
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update -qq
    # shellcheck disable=SC2086
    apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends $missing >/dev/null
}
