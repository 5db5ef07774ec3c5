#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test. Non-zero on failure.
#   1. the whole suite against classic SDL 1.2
#   2. the whole suite again against sdl12-compat (SDL 1.2 over SDL2)
#   3. the unit and round tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   4. the browser build (web.sh): frames identical to the desktop build, the page in Chromium
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs=$(nproc)
ROOT=$PWD
COMPAT_DIR=/usr/lib/x86_64-linux-gnu/sdl12-compat

stage() { echo; echo "=== $*"; }

stage "Build"
# play.sh configures build/ without tests: switch them back on.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOMET_TESTS=ON -DCOMET_BENCH=ON >/dev/null
cmake --build build -j"$jobs"

stage "Tests against classic SDL 1.2"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 600)

stage "Tests against sdl12-compat"
(cd build && LD_LIBRARY_PATH="$COMPAT_DIR" ctest --output-on-failure -j"$jobs" --timeout 600)

stage "Sanitizer build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCOMET_SANITIZE=ON -DCOMET_TESTS=ON -DCOMET_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp" \
    ctest --output-on-failure -j"$jobs" --timeout 900 -LE slow)

stage "Browser build: same frames as the desktop, the page in headless Chromium"
tests/web/run.sh
