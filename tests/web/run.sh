#!/usr/bin/env bash
# The browser build's tests, one stage of test.sh. Builds with ./web.sh --build-only, then:
#  1. Same frames: tests/golden/frame_sums.cpp's scripted title and rounds, built for the
#     desktop and for WebAssembly (run under node), print identical console lines and
#     frame checksums; a one-level nudge to one pixel on either side must be caught.
#  2. The page in Debian's Chromium (journey.js): title, rounds, records after a reload,
#     the game's frames-per-second lines. Screenshots land in build-web/web-test/shots/.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/deps.sh
ensure_packages "${WEB_TEST_PACKAGES[@]}"
command -v npm >/dev/null || ensure_packages npm  # node from elsewhere brings its own npm
./web.sh --build-only

B=$PWD/build-web
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The driver's whole output (console lines and one checksum a frame), run in a fresh
# folder beside the art so that no Rec.dat of an earlier run changes the title.
frames() {  # native|wasm [NUDGE_FRAME]
    local side=$1 dir
    shift
    dir=$(mktemp -d -p "$work")
    ln -s "$B/native/image" "$dir/image"
    case $side in
    native) (cd "$dir" && "$B/native/comet-frame-sums" "$@") ;;
    wasm) (cd "$dir" && node --no-experimental-fetch "$B/frame_sums.js" "$@") ;;
    esac
}

same_frames() {  # FILE FILE: the first differing line, or nothing
    diff "$1" "$2" | grep -m1 '^[<>]' || true
}

echo "--- same frames, desktop and WebAssembly"
frames native >"$work/native"
frames wasm >"$work/wasm"
count=$(grep -c '^frame ' "$work/native" || true)
[ "$count" -gt 500 ] || fail "the scripted frames did not run ($count frames)"
first=$(same_frames "$work/native" "$work/wasm")
[ -z "$first" ] || fail "the builds differ: $first"
echo "$count frames identical"
nudge=$((count / 2))
frames native "$nudge" >"$work/native-nudged"
frames wasm "$nudge" >"$work/wasm-nudged"
[ -n "$(same_frames "$work/native-nudged" "$work/wasm")" ] || fail "a nudged desktop pixel went unnoticed"
[ -n "$(same_frames "$work/native" "$work/wasm-nudged")" ] || fail "a nudged WebAssembly pixel went unnoticed"
echo "one pixel one level off at frame $nudge is caught on either side"

echo "--- the page in Chromium"
tools=$B/web-test
mkdir -p "$tools/shots"
if ! cmp -s tests/web/package-lock.json "$tools/package-lock.json"; then
    cp tests/web/package.json tests/web/package-lock.json "$tools/"
    (cd "$tools" && npm ci --no-audit --no-fund --loglevel=error)
fi
NODE_PATH=$tools/node_modules node tests/web/journey.js "$B/dist" "$B/native/image/material.bmp" "$tools/shots"
echo "browser tests passed"
