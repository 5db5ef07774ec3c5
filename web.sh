#!/usr/bin/env bash
# Builds COMET DRIFTER for the browser into build-web/dist/ (the page, comet.js,
# comet.wasm, comet.data.gz, sw.js, the manifest and icons: any static web server can serve
# the folder) and serves it on 127.0.0.1, the way play.sh starts the desktop game.
# Usage: ./web.sh [--build-only] [--port N]   (default port 8480)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib/deps.sh
source scripts/lib/build.sh

B=build-web
port=8480
serve=1
while [ $# -gt 0 ]; do
    case $1 in
    --build-only) serve=0 ;;
    --port) port=${2:-}; shift $(($# > 1 ? 1 : 0)) ;;
    *) echo "Usage: ./web.sh [--build-only] [--port N]" >&2; exit 2 ;;
    esac
    shift
done

ensure_packages "${BUILD_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
# A bad or busy port is said now, in one line, not after a build of a minute or more.
[ "$serve" -eq 0 ] || node web/serve.js --check-port "$port" || exit 2
# Debian's emcc runs its JavaScript tools with node, which must find Debian's modules.
export NODE_PATH=/usr/share/nodejs

# Debian's SDL 1.2 source with our additions from web/sdl/: the patches, our SDL_config.h
# and the browser file the patched driver calls.
prepare_sdl() {
    local pristine=$B/sources/libsdl1.2-1.2.15+dfsg2 tree=$B/sdl stamp=$B/sdl/.prepared
    stamp_is_fresh "$stamp" web/sdl "$pristine"/.fetched-* && return 0
    rm -rf "$tree"
    cp -a "$pristine" "$tree"
    local p
    for p in web/sdl/*.patch; do patch -s -p1 -d "$tree" <"$p"; done
    cp web/sdl/SDL_config.h "$tree/include/SDL_config.h"
    cp web/sdl/SDL_browser.c web/sdl/SDL_browser.h "$tree/src/video/dummy/"
    touch "$stamp"
}

mkdir -p "$B/sources"
web/fetch-sources.sh "$B/sources"
prepare_sdl
# The art, from the same sources as play.sh's.
cmake -S . -B "$B/native" -DCOMET_TESTS=OFF -DCOMET_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$B/native" -j"$(nproc)" --target art >/dev/null
nice -n 10 make -s -f web/Makefile B="$B" -j"$(nproc)"
echo "Built $B/dist/"

[ "$serve" -eq 1 ] || exit 0
exec node web/serve.js "$B/dist" "$port"
