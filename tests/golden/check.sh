#!/usr/bin/env bash
# The golden frames: runs the frame-sums driver in a scratch folder and compares its
# console and every frame's checksum with the output kept for its SDL runtime in
# tests/golden/ (blends differ by one level between classic SDL and sdl12-compat). The
# frames worth a look land in OUT_DIR. With --refresh the kept output is renewed instead
# (scripts/refresh-golden.sh does that and shows the frames before and after).
# Usage: check.sh DRIVER IMAGE_DIR OUT_DIR [--refresh]
set -u
driver=$1 image=$2 out=$3 refresh=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
driver=$(realpath "$driver") image=$(realpath "$image") out=$(realpath "$out")
ln -s "$image" "$work/image"
(cd "$work" && "$driver" -1 "$out") >"$work/output" || { echo "FAIL - the driver failed"; exit 1; }
kept=$here/$(head -n1 "$work/output" | cut -d' ' -f2).txt
if [ "$refresh" = --refresh ]; then
    cp "$work/output" "$kept" && echo "renewed $kept"
    exit 0
fi
[ -f "$kept" ] || { echo "FAIL - nothing kept for $(head -n1 "$work/output"): run scripts/refresh-golden.sh"; exit 1; }
[ "$(grep -c '^frame ' "$work/output")" -gt 500 ] || { echo "FAIL - the scripted frames did not run"; exit 1; }
first=$(diff "$kept" "$work/output" | grep -m1 '^[<>]')
if [ -n "$first" ]; then
    # The rule broken: the last marker line before the first line that differs.
    at=$(cmp "$kept" "$work/output" 2>/dev/null | sed -n 's/.* line \([0-9]*\).*/\1/p')
    rule=$(head -n "${at:-1}" "$work/output" | grep '^# frame' | tail -n1)
    echo "FAIL - not as kept in $kept; first difference: $first${rule:+ (after \"$rule\")} (frames of note in $out)"
    exit 1
fi
echo "ok - $(grep -c '^frame ' "$work/output") frames as kept in $kept"
