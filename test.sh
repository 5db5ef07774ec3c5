#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test. Non-zero on failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

cd build
ctest --output-on-failure -j"$jobs" --timeout 600
