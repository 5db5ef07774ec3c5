#!/usr/bin/env bash
# Installs what is missing, builds the game into build/, and plays it.
# Usage: ./play.sh [--scale N] [--fullscreen]   (the window is 480x320 times N; by default
# the largest N whose window fits the screen)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib/deps.sh
source scripts/lib/launch.sh
comet_parse_args ./play.sh "$@"

# The sdl12-compat runtime only scales the picture: as root it is installed with the rest;
# otherwise a missing one means scale 1, not a stop.
if [ "$(id -u)" -eq 0 ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${SCALE_PACKAGES[@]}"
else
    ensure_packages "${BUILD_PACKAGES[@]}"
fi

[ -x build/comet-drifter ] || echo "Building the game into build/ (the first time only: about 15 s on two cores)"
cmake -S . -B build -DCOMET_TESTS=OFF -DCOMET_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target comet-drifter art >/dev/null

comet_require_display
cd build  # the game finds image/ and keeps Rec.dat in its working directory
comet_exec ./comet-drifter
