# Sourced by every script that builds or checks something: the Debian packages the
# project needs, by purpose, and the one way they are installed. As root it runs apt-get;
# otherwise it prints the exact command and stops. No versions are pinned.
# shellcheck shell=bash

BUILD_PACKAGES=(cmake make g++ pkg-config libsdl1.2-dev libsdl-image1.2-dev)
# SDL 1.2 over SDL2, beside the classic library: what scales the window above 480x320;
# xprop and xwininfo, which read the screen's size to fit the window to it.
SCALE_PACKAGES=(libsdl1.2-compat x11-utils)
# Real windows under Xvfb, driven by xdotool; screenshots and picture checks; a small
# window manager for full screen, which sdl12-compat needs one for.
WINDOW_PACKAGES=(xvfb xdotool x11-utils imagemagick jwm)
TEST_PACKAGES=(libgtest-dev "${SCALE_PACKAGES[@]}" "${WINDOW_PACKAGES[@]}" valgrind desktop-file-utils)
BENCH_PACKAGES=(libbenchmark-dev "${SCALE_PACKAGES[@]}" time)
FUZZ_PACKAGES=(clang libclang-rt-dev)
# ./release.sh and its checks: Debian's packaging tools, the metadata validators, zip and unzip.
RELEASE_PACKAGES=(debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils zip unzip)
# The browser build (web.sh): Debian's Emscripten and apt-get source for SDL's source;
# rsvg-convert for the page's icons; Chromium for the browser tests.
WEB_PACKAGES=(emscripten dpkg-dev librsvg2-bin)
WEB_TEST_PACKAGES=(chromium)
# The Windows build (windows.sh): mingw-w64, apt-get source for SDL's source, NSIS for the
# installer; its tests run the exes under 64-bit Wine, in real windows under Xvfb.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64 dpkg-dev nsis zip unzip)
WINDOWS_TEST_PACKAGES=(wine64 "${WINDOW_PACKAGES[@]}")

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
