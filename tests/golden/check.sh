#!/usr/bin/env bash
# The golden frames: runs the frame-sums driver in a scratch folder and compares its
# console and every frame's checksum with the output kept for its SDL runtime in
# tests/golden/ (blends differ by one level between classic SDL and sdl12-compat). A run
# with one pixel one level off in a middle frame must be told apart, so the comparison is
# shown to notice. The frames worth a look land in OUT_DIR. With --refresh the kept output
# is renewed instead (scripts/refresh-golden.sh does that and shows the frames before and
# after). FRAME_SUMS_RUNNER, when set, runs the driver: node for the WebAssembly build,
# wine for the Windows one.
# Usage: check.sh DRIVER IMAGE_DIR OUT_DIR [--refresh]
set -u
driver=$(realpath "$1") image=$2 out=$3 refresh=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/scratch.sh"
mkdir -p "$out"
out=$(realpath "$out")
work=$(scratch_with_art "$image") || { echo "FAIL - no scratch folder"; exit 1; }
trap 'rm -rf "$work"' EXIT

run() {  # NUDGE_FRAME SHOTS_DIR > output
    rm -f "$work/Rec.dat"
    # shellcheck disable=SC2086
    (cd "$work" && ${FRAME_SUMS_RUNNER:-} "$driver" "$@")
}
run -1 "$out" >"$work/output" || { echo "FAIL - the driver failed"; exit 1; }
kept=$here/$(head -n1 "$work/output" | cut -d' ' -f2).txt
if [ "$refresh" = --refresh ]; then
    cp "$work/output" "$kept" && echo "renewed $kept"
    exit 0
fi
[ -f "$kept" ] || { echo "FAIL - nothing kept for $(head -n1 "$work/output"): run scripts/refresh-golden.sh"; exit 1; }
frames=$(grep -c '^frame ' "$work/output")
[ "$frames" -gt 500 ] || { echo "FAIL - the scripted frames did not run"; exit 1; }
first=$(diff "$kept" "$work/output" | grep -m1 '^[<>]')
if [ -n "$first" ]; then
    # The rule broken: the last marker line before the first line that differs.
    at=$(cmp "$kept" "$work/output" 2>/dev/null | sed -n 's/.* line \([0-9]*\).*/\1/p')
    rule=$(head -n "${at:-1}" "$work/output" | grep '^# frame' | tail -n1)
    echo "FAIL - not as kept in $kept; first difference: $first${rule:+ (after \"$rule\")} (frames of note in $out)"
    exit 1
fi
run $((frames / 2)) "" >"$work/nudged"
cmp -s "$kept" "$work/nudged" && { echo "FAIL - one pixel one level off in frame $((frames / 2)) went unnoticed"; exit 1; }
echo "ok - $frames frames as kept in $kept; a one-level change to one pixel is noticed"
