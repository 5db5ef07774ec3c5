#!/usr/bin/env bash
# Renders the generated art for the README: docs/caves.png, a contact sheet of the twenty
# caves in map.dat order, and docs/sprites.png, the sprite sheet at twice its size
# (nearest neighbour, so every pixel stays a crisp square; black shown as it is, which
# the game treats as transparent).
#   scripts/art-docs.sh [BUILD_FOLDER]     (default: build; runs the `art` target first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

source scripts/lib/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" imagemagick

if ! [ -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" --target art >/dev/null

image="$build/image"
mkdir -p docs
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Caves: four across, each labelled with its file name and the name from its source.
tiles=()
while read -r path; do
  [ -n "$path" ] || continue
  base=$(basename "$path" .bmp)
  title=$(sed -n 's/^name //p' "assets/caves/$base.txt")
  convert "$build/$path" "$tmp/$base.png"
  tiles+=(-label "$base  $title" "$tmp/$base.png")
done < "$image/mapImg/map.dat"
montage "${tiles[@]}" -tile 4x -geometry +6+6 -background '#101018' -fill '#c8d2f0' \
  -pointsize 13 "$tmp/caves.png"
convert "$tmp/caves.png" -strip PNG24:docs/caves.png

# The sprite sheet, doubled pixel for pixel.
convert "$image/material.bmp" -filter point -scale 200% -strip PNG24:docs/sprites.png

echo "art-docs: wrote docs/caves.png and docs/sprites.png"
