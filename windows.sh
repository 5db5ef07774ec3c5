#!/usr/bin/env bash
# Builds COMET DRIFTER for 64-bit Windows, cross-compiled on Debian with mingw-w64, into
# build-windows/: comet-drifter.exe (one static exe that needs only Windows' own DLLs),
# frame_sums.exe (the frame-checksum driver for the tests) and image/ (the art).
# Debian's SDL 1.2.15 source is fetched as the browser build does (web/fetch-sources.sh,
# which checks its version), patched with packaging/windows/sdl/ (its Windows video driver
# scales the picture to the screen, full screen too), cross-built once into
# build-windows/sdl/ and kept: it is built again only when the source, the patches or
# this script change.
# Usage: ./windows.sh
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib/deps.sh
source scripts/lib/build.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"

B=build-windows
HOST=x86_64-w64-mingw32
PRISTINE=$B/sources/libsdl1.2-1.2.15+dfsg2
PATCHES=packaging/windows/sdl

# SDL as a static library, without the parts the game does not use (the joystick stays:
# winmm's, for pads). The tree is patched and built in a copy, so the fetched source stays
# as fetched; configure finds the added driver file by its folder.
build_sdl() {
    local stamp=$B/sdl/.built tree=$B/sdl-build prefix
    stamp_is_fresh "$stamp" "$0" "$PRISTINE"/.fetched-* "$PATCHES" && return 0
    echo "Cross-building SDL 1.2 for $HOST (a few minutes, once; log: $B/sdl-build.log)"
    rm -rf "$tree" "$B/sdl"
    cp -a "$PRISTINE" "$tree"
    for p in "$PATCHES"/*.patch; do patch -s -p1 -d "$tree" <"$p"; done
    cp "$PATCHES"/SDL_dibpresent.[ch] "$tree/src/video/windib/"
    prefix=$(realpath -m "$B/sdl")
    if ! (cd "$tree" && ./configure --host="$HOST" --prefix="$prefix" --disable-shared \
        --disable-audio --disable-cdrom &&
        nice -n 10 make -j"$(nproc)" && make install) >"$B/sdl-build.log" 2>&1; then
        tail -n 30 "$B/sdl-build.log" >&2
        echo "Error: SDL did not build for $HOST (log: $B/sdl-build.log)" >&2
        exit 1
    fi
    rm -rf "$tree"
    touch "$stamp"
}

mkdir -p "$B/sources"
web/fetch-sources.sh "$B/sources"
build_sdl
# The art, from the same sources as play.sh's.
cmake -S . -B "$B/native" -DCOMET_TESTS=OFF -DCOMET_BENCH=OFF >/dev/null
nice -n 10 cmake --build "$B/native" -j"$(nproc)" --target art >/dev/null
rm -rf "$B/image" && cp -r "$B/native/image" "$B/image"
nice -n 10 make -s -f packaging/windows/Makefile B="$B" HOST="$HOST" -j"$(nproc)"
echo "Built $B/comet-drifter.exe"
