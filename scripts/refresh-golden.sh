#!/usr/bin/env bash
# Stores new golden-frame checksums (tests/golden/frames.txt) when the picture is meant to
# change, for classic SDL and for sdl12-compat, and shows each frame of note before (the
# committed game) and after, side by side, in build-test/golden/compare/.
# Usage: scripts/refresh-golden.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/launch.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
compat=$(comet_compat_dir) || { echo "refresh-golden: no sdl12-compat runtime" >&2; exit 1; }

# golden_frames BUILD_DIR [env...]: builds the test and runs it; its frames land in BUILD_DIR/golden.
golden_frames() {
    local dir=$1; shift
    cmake --build "$dir" -j"$(nproc)" --target golden_frames_test art >/dev/null
    (cd "$dir" && env "$@" ./tests/golden_frames_test >/dev/null) || true
}

before=$(mktemp -d)
trap 'git worktree remove --force "$before/tree" 2>/dev/null; rm -rf "$before"' EXIT
git worktree add -q --detach "$before/tree" HEAD
rm -rf "$before/tree/tests" && cp -r tests "$before/tree/tests"  # the same scenes, the committed game
cmake -S "$before/tree" -B "$before/tree/build" -DCOMET_BENCH=OFF >/dev/null
golden_frames "$before/tree/build" PATH="$PATH"
golden_frames "$before/tree/build" LD_LIBRARY_PATH="$compat"

cmake -S . -B build-test -DCOMET_TESTS=ON >/dev/null
golden_frames build-test COMET_REFRESH_GOLDEN=1
golden_frames build-test COMET_REFRESH_GOLDEN=1 LD_LIBRARY_PATH="$compat"

mkdir -p build-test/golden/compare
for after in build-test/golden/sdl-*/*.bmp; do
    name=$(basename "$(dirname "$after")")-$(basename "$after" .bmp)
    old=$before/tree/build/golden/${after#build-test/golden/}
    [ -f "$old" ] || old=null:
    montage "$old" "$after" -tile 2x -geometry +6+6 \
        "build-test/golden/compare/$name.png"
done
git --no-pager diff --stat -- tests/golden/frames.txt
echo "Before (left) and after (right): build-test/golden/compare/*.png"
