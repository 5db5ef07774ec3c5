#!/usr/bin/env bash
# The browser build's tests, one stage of test.sh. Builds with ./web.sh --build-only, then:
#  1. Same frames: tests/golden/frame_sums.cpp's scripted title and rounds, built for
#     WebAssembly and run under node on the page's own art (its caves 8-bit), print the
#     console lines and frame checksums kept for SDL 1.2.15 in tests/golden/
#     (tests/golden/check.sh), as the desktop build does.
#  2. The page in Debian's Chromium (journey.js): keyboard, touch and gamepad journeys,
#     records across reloads, tabs and closes, offline play, the server's answers and the
#     page's weight. Screenshots land in build-web/web-test/shots/.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/deps.sh
ensure_packages "${WEB_TEST_PACKAGES[@]}"
command -v npm >/dev/null || ensure_packages npm  # node from elsewhere brings its own npm
./web.sh --build-only

B=$PWD/build-web
tools=$B/web-test
mkdir -p "$tools/shots"

echo "--- same frames as the desktop build's, in WebAssembly"
FRAME_SUMS_RUNNER="node --no-experimental-fetch" tests/golden/check.sh "$B/frame_sums.js" "$B/image" "$tools/golden"

echo "--- the page in Chromium"
if ! cmp -s tests/web/package-lock.json "$tools/package-lock.json"; then
    cp tests/web/package.json tests/web/package-lock.json "$tools/"
    (cd "$tools" && npm ci --no-audit --no-fund --loglevel=error)
fi
NODE_PATH=$tools/node_modules node tests/web/journey.js "$B/dist" "$B/native/image/material.bmp" "$tools/shots"
echo "browser tests passed"
