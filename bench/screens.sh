#!/usr/bin/env bash
# The desktop game on screens of several sizes: the window the launcher picks on each
# (Xvfb, no window manager), then the game's CPU while a Mode B round plays, windowed at
# the size picked and in full screen, on one 1920x1080 screen under jwm, taken in turns
# in the same run (median of RUNS turns each).
# Usage: bench/screens.sh [BUILD_DIR]   (default build; RUNS=3, SECONDS_EACH=8)
set -u
cd "$(dirname "$0")/.."
source scripts/lib/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${WINDOW_PACKAGES[@]}" "${SCALE_PACKAGES[@]}"
source scripts/lib/window.sh
source scripts/lib/launch.sh
BUILD=${1:-build} RUNS=${RUNS:-3} SECONDS_EACH=${SECONDS_EACH:-8}
[ -x "$BUILD/comet-drifter" ] || { echo "no $BUILD/comet-drifter: build it first"; exit 1; }
GAME=$(realpath "$BUILD/comet-drifter") DATA=$(realpath "$BUILD")
trap 'cleanup' EXIT

launch() {  # launch [LAUNCHER_ARGS...]
    rm -rf "${WORK:-/nonexistent}"
    wait_no_window
    WORK=$(scratch_with_art "$DATA/image")
    start_command "$WORK/console.log" bash -c 'cd "$1" && source "$2" && comet_parse_args bench "${@:4}" && comet_exec "$3"' \
        _ "$WORK" "$PWD/scripts/lib/launch.sh" "$GAME" "$@"
}
leave() { key Escape; wait_game; }

echo "screen       window the launcher picks"
for size in 1280x800 1366x768 1920x1080 2560x1440 3840x2160; do
    start_display "$size" && launch && wait_for_count "$SEPARATOR" 1
    printf '%-12s %s\n' "$size" "$(window_size)"
    leave
    stop_display
done

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
cpu_of_a_round() {  # cpu_of_a_round [LAUNCHER_ARGS...]: prints "GAME% XVFB%"
    launch "$@" && wait_for_count "$SEPARATOR" 1 || return 1
    key b
    wait_for_count FPS 1
    local g0 x0 g1 x1
    g0=$(ticks "$GAME_PID") x0=$(ticks "$XVFB_PID")
    sleep "$SECONDS_EACH"
    g1=$(ticks "$GAME_PID") x1=$(ticks "$XVFB_PID")
    leave
    awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v hz="$hz" -v s="$SECONDS_EACH" \
        'BEGIN { printf "%.1f %.1f\n", g / hz / s * 100, x / hz / s * 100 }'
}
start_display 1920x1080 || exit 1
jwm >/dev/null 2>&1 &
sleep 0.5
: >"$DATA/screens-cpu.txt"
for _ in $(seq "$RUNS"); do
    echo "windowed $(cpu_of_a_round)" >>"$DATA/screens-cpu.txt"
    echo "fullscreen $(cpu_of_a_round --fullscreen)" >>"$DATA/screens-cpu.txt"
done
echo
echo "CPU while a Mode B round plays on 1920x1080 under jwm, % of one core (median of $RUNS; all runs):"
for mode in windowed fullscreen; do
    grep "^$mode " "$DATA/screens-cpu.txt" | sort -k2 -n | awk -v m="$mode" '
        { g[NR] = $2; x[NR] = $3; all = all " " $2 "/" $3 }
        END { printf "%-11s game %s %%, Xvfb %s %%   (game/Xvfb:%s)\n", m, g[int((NR + 1) / 2)], x[int((NR + 1) / 2)], all }'
done
