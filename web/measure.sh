#!/usr/bin/env bash
# Measures the browser build beside the desktop game for the README's performance
# section: page weight with gzip, the time to the title's first frame, CPU while a Mode B
# round plays (every Chromium process, by kind) and the frame rate with the CPU throttled
# 6x, in headless Chromium and (the desktop game) in a real window under Xvfb.
# Usage: web/measure.sh [SECONDS]   (default 10; run ./web.sh --build-only and
#        tests/web/run.sh first, which build the page and install playwright-core)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
B=build-web
source scripts/lib/deps.sh
ensure_packages "${WINDOW_PACKAGES[@]}"

# Other work on the machine inflates every figure below: said at the start and the end.
load() { echo "load average (1, 5, 15 min; $(nproc) cores): $(cut -d' ' -f1-3 /proc/loadavg)"; }
load
echo "--- browser (headless Chromium)"
NODE_PATH=$B/web-test/node_modules node web/measure.js "$B/dist" "$seconds"

cmake --build "$B/native" --target comet-drifter >/dev/null
source scripts/lib/window.sh
source scripts/lib/launch.sh
trap cleanup EXIT
start_display 1280x800

# desktop LABEL: the desktop game started afresh as it is now set up, measured as above.
desktop() {
    echo "--- desktop game ($1, X11 under Xvfb)"
    local started game0 x0 game1 x1
    started=$(date +%s%N)
    start_game "$B/native/comet-drifter" "$B/native"
    # The title's first frame follows its cave list's last line at once.
    until grep -q 'cave20.bmp' "$LOG"; do sleep 0.01; done
    echo "start to the first title frame: $((($(date +%s%N) - started) / 1000000)) ms (or less)"
    key b
    sleep 1
    game0=$(ticks "$GAME_PID") x0=$(ticks "$XVFB_PID")
    sleep "$seconds"
    game1=$(ticks "$GAME_PID") x1=$(ticks "$XVFB_PID")
    awk -v g=$((game1 - game0)) -v x=$((x1 - x0)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "CPU while a round plays: game %.1f %%, Xvfb %.1f %% of one core\n", g/hz/s*100, x/hz/s*100 }'
    echo "the game's frames-per-second lines: $(grep -E '^[0-9]+FPS$' "$LOG" | tail -n 5 | tr '\n' ' ')"
    echo "resident memory of the game: $(awk '/VmRSS/ {print $2, $3}' "/proc/$GAME_PID/status")"
    key Escape
    wait_game
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
desktop "classic SDL 1.2 at 480x320"
# What ./play.sh now opens on a 1280x800 screen: the same 960x640 picture as the page's.
COMET_SCALE= COMET_FULLSCREEN=0  # no option: the launcher's own choice
(comet_scale_env "$B/native/comet-drifter" && desktop "sdl12-compat at 960x640, as ./play.sh opens it on 1280x800")
load
