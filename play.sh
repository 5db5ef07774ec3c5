#!/usr/bin/env bash
# Installs what is missing, builds the game into build/, and plays it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build -DCOMET_TESTS=OFF -DCOMET_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target comet-drifter art >/dev/null

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: COMET DRIFTER needs a graphical session (DISPLAY is not set)."
    exit 1
fi
cd build  # the game finds image/ and keeps Rec.dat in its working directory
exec ./comet-drifter
