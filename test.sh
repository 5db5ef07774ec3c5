#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test. Non-zero on failure.
#   1. the whole suite against classic SDL 1.2 (build folder build-test/; play.sh keeps build/)
#   2. the whole suite again against sdl12-compat (SDL 1.2 over SDL2), checked to be the
#      library the game then loads
#   3. the unit, golden and end-to-end tests built with AddressSanitizer and
#      UndefinedBehaviorSanitizer (build-asan/)
#   4. the browser build (web.sh, build-web/): frames as kept for the desktop build, the
#      page in headless Chromium (keyboard, touch, gamepad, records, offline, its server)
#   5. the Windows build (windows.sh, build-windows/) under Wine: the zip's exe, the same
#      frames as classic SDL, the zip played in a real window, the installer
#   6. the release: ./release.sh, its metadata checked, each artefact installed and played
#      (with the browser build of stage 4 in its web zip)
# Usage: ./test.sh [--desktop]   (--desktop: stages 1 to 3 alone, which need no root once
# the packages are installed; the release stage installs the Debian package with apt)
set -euo pipefail
cd "$(dirname "$0")"
desktop_only=0
case ${1:-} in
    "") ;;
    --desktop) desktop_only=1 ;;
    *) echo "Usage: ./test.sh [--desktop]" >&2; exit 2 ;;
esac
source scripts/lib/deps.sh
source scripts/lib/launch.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

jobs=$(nproc)
ROOT=$PWD
COMPAT_DIR=$(comet_require_compat_dir)

stage() { echo; echo "=== $*"; }

stage "Build"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOMET_TESTS=ON -DCOMET_BENCH=ON >/dev/null
cmake --build build-test -j"$jobs"

stage "Tests against classic SDL 1.2"
(cd build-test && ctest --output-on-failure -j"$jobs" --timeout 600)

stage "Tests against sdl12-compat ($COMPAT_DIR)"
loaded=$(LD_LIBRARY_PATH="$COMPAT_DIR" ldd build-test/comet-drifter)
if ! grep -qF "$COMPAT_DIR/libSDL-1.2" <<<"$loaded"; then
    echo "test.sh: the game does not load sdl12-compat from $COMPAT_DIR"
    exit 1
fi
(cd build-test && LD_LIBRARY_PATH="$COMPAT_DIR" ctest --output-on-failure -j"$jobs" --timeout 600)

stage "Sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCOMET_SANITIZE=ON -DCOMET_TESTS=ON -DCOMET_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp" \
    ctest --output-on-failure -j"$jobs" --timeout 900 -LE slow)

if [ "$desktop_only" -eq 1 ]; then
    stage "Desktop stages passed (the browser, Windows and release stages were not run)"
    exit 0
fi

stage "Browser build: same frames as the desktop, the page in headless Chromium"
tests/web/run.sh

stage "Windows build under Wine: the zip, the same frames, a real window, the installer"
tests/windows/check.sh

stage "Release: build dist/, check the metadata, install and play each artefact"
tests/release/check.sh
