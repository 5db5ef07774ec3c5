#!/usr/bin/env bash
# Takes screenshots of the real game in a window under Xvfb into docs/screenshots/:
# the title faded in, a Mode A round with its trail and items, a Mode B round while
# boosting, and the game-over screen with the record notice; then a whole 1280x800 screen
# (under the jwm window manager) with the window the launcher picks, and in full screen.
# Builds first if needed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$ROOT/docs/screenshots}
cd "$ROOT"
source scripts/lib/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${WINDOW_PACKAGES[@]}" "${SCALE_PACKAGES[@]}"
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target comet-drifter art >/dev/null

source scripts/lib/window.sh
trap cleanup EXIT
mkdir -p "$OUT"
start_display || exit 1
start_game build/comet-drifter build
printf '40\n40\n' >"$WORK/Rec.dat"  # low records, so a round soon shows the notice
wait_for_count "$SEPARATOR" 1
sleep 1.5
shot "$OUT/title.png"

key a
wait_for_count "$SEPARATOR" 2
sleep 1.2
xdotool keydown Right; sleep 0.25; xdotool keydown Down; sleep 0.12
shot "$OUT/mode-a.png"
xdotool keyup Right keyup Down
hold Left 1.0
sleep 0.9
shot "$OUT/game-over.png"

key t
wait_for_count "$SEPARATOR" 3
key b
wait_for_count "$SEPARATOR" 4
xdotool keydown Right; sleep 2.5; xdotool keyup Right
xdotool keydown space; sleep 0.04
shot "$OUT/mode-b-boost.png"
xdotool keyup space
key Escape
wait_game

# screen_shot NAME [LAUNCHER_ARGS...]: the whole screen a second into a Mode A round
# started through the launcher's functions.
screen_shot() {
    local name=$1
    shift
    rm -rf "$WORK"
    wait_no_window
    WORK=$(scratch_with_art "$ROOT/build/image")
    start_command "$WORK/console.log" bash -c 'cd "$1" && source "$2" && comet_parse_args screenshots "${@:4}" && comet_exec "$3"' \
        _ "$WORK" "$ROOT/scripts/lib/launch.sh" "$ROOT/build/comet-drifter" "$@"
    wait_for_count "$SEPARATOR" 1
    key a
    wait_for_count "$SEPARATOR" 2
    sleep 1.2
    import -window root "$OUT/$name.png"
    key Escape
    wait_game
}
stop_display
start_display 1280x800 || exit 1
jwm >/dev/null 2>&1 &
sleep 0.5
screen_shot screen-window
screen_shot screen-fullscreen --fullscreen
echo "Screenshots in $OUT"
