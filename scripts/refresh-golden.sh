#!/usr/bin/env bash
# Renews the golden frames (tests/golden/sdl-*.txt: the frame-sums driver's console and
# every frame's checksum, for classic SDL and for sdl12-compat) when the picture is meant
# to change, and shows the frames worth a look before (the committed game) and after, side
# by side, in build-test/golden/compare/.
# Usage: scripts/refresh-golden.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/deps.sh
source scripts/lib/launch.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
compat=$(comet_require_compat_dir)

# frames TREE BUILD OUT [--refresh]: builds the driver of TREE in BUILD and runs it on
# both runtimes; the frames worth a look land in OUT/classic and OUT/compat.
frames() {
    local tree=$1 build=$2 out=$3
    cmake -S "$tree" -B "$build" -DCOMET_TESTS=ON >/dev/null
    cmake --build "$build" -j"$(nproc)" --target comet-frame-sums art >/dev/null
    "$tree/tests/golden/check.sh" "$build/comet-frame-sums" "$build/image" "$out/classic" ${4:-} || true
    LD_LIBRARY_PATH=$compat "$tree/tests/golden/check.sh" "$build/comet-frame-sums" "$build/image" "$out/compat" ${4:-} || true
}

before=$(mktemp -d)
trap 'git worktree remove --force "$before/tree" 2>/dev/null; rm -rf "$before"' EXIT
git worktree add -q --detach "$before/tree" HEAD
cp tests/golden/frame_sums.cpp tests/golden/check.sh "$before/tree/tests/golden/"  # the same script, the committed game
frames "$before/tree" "$before/tree/build" "$before/shots"
frames . build-test build-test/golden --refresh

mkdir -p build-test/golden/compare
for after in build-test/golden/*/frame-*.bmp; do
    side=$(basename "$(dirname "$after")")
    old=$before/shots/$side/$(basename "$after")
    [ -f "$old" ] || old=null:
    montage "$old" "$after" -tile 2x -geometry +6+6 "build-test/golden/compare/$side-$(basename "$after" .bmp).png"
done
git --no-pager diff --stat -- tests/golden/
echo "Before (left) and after (right): build-test/golden/compare/*.png"
