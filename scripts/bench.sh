#!/usr/bin/env bash
# Measures the game: builds the benchmarks if needed, runs them against classic SDL 1.2
# and against sdl12-compat, and prints one table (median time, and time in whole-surface
# fills of the same run), then the game's peak memory on a short real run.
#   BENCH_BUILD_DIR   build folder (default build-bench)
#   BENCH_REPETITIONS repetitions of each benchmark; the median is shown (default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/deps.sh
source scripts/lib/launch.sh
source scripts/lib/scratch.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

BUILD=${BENCH_BUILD_DIR:-build-bench}
REPS=${BENCH_REPETITIONS:-9}
COMPAT_DIR=$(comet_require_compat_dir)
FRAME_TARGET_FILLS=6
MAP_TARGET_MS=10
MEMORY_TARGET_MB=40
TITLE_WAIT_S=15  # the game has this long to reach its title screen
TITLE_SHOWN_S=1  # then it runs the title this long before it is asked to quit

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A folder configured before keeps its settings (a test build stays one).
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOMET_TESTS=OFF >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)" --target comet-bench comet-drifter art >/dev/null

# Writes "name microseconds" for each benchmark's median CPU time: on a shared machine the
# wall-clock time also counts the moments the process waited for a core.
run_benchmarks() {  # library-dir-or-empty out-file
    local json="$work/run.json"
    LD_LIBRARY_PATH="$1" "$BUILD/bench/comet-bench" \
        --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true \
        --benchmark_out="$json" --benchmark_out_format=json >"$work/console.log" 2>&1
    awk -F': ' '
        /"name":/           { gsub(/[",]/, "", $2); name = $2 }
        /"aggregate_name":/ { gsub(/[",]/, "", $2); agg = $2 }
        /"cpu_time":/       { gsub(/,/, "", $2); t = $2 }
        /"time_unit":/      { gsub(/[",]/, "", $2)
                              scale = ($2 == "ns") ? 0.001 : ($2 == "ms") ? 1000 : ($2 == "s") ? 1e6 : 1
                              if (agg == "median") { sub(/_median$/, "", name); print name, t * scale } }
    ' "$json" >"$2"
}

# Peak resident memory (kB) of the game started in a scratch folder, on its title screen.
peak_memory() {  # library-dir-or-empty
    local run build waited=0 timer game
    build=$(cd "$BUILD" && pwd)
    run=$(scratch_with_art "$build/image")
    (cd "$run" && LD_LIBRARY_PATH="$1" exec /usr/bin/time -v "$build/comet-drifter" \
        >"$run/console.log" 2>"$run/time.log") &
    timer=$!
    until grep -q '^____' "$run/console.log" 2>/dev/null; do
        sleep 0.1
        waited=$((waited + 1))
        [ "$waited" -lt $((TITLE_WAIT_S * 10)) ] || break
    done
    sleep "$TITLE_SHOWN_S"
    game=$(pgrep -P "$timer" | head -1 || true)
    [ -n "$game" ] && kill -TERM "$game"
    wait "$timer" || true
    awk -F': ' '/Maximum resident set size/ { print $2 }' "$run/time.log"
    rm -rf "$run"
}

echo "Benchmarks: median CPU time of $REPS repetitions each, headless (dummy video driver)."
run_benchmarks "" "$work/classic.txt"
run_benchmarks "$COMPAT_DIR" "$work/compat.txt"

echo
echo "| benchmark | classic SDL 1.2 | fills | sdl12-compat | fills |"
echo "|---|---:|---:|---:|---:|"
join <(sort "$work/classic.txt") <(sort "$work/compat.txt") | awk '
    { name[NR] = $1; a[NR] = $2; b[NR] = $3 }
    $1 == "BM_WholeSurfaceFill" { fa = $2; fb = $3 }
    END {
        for (i = 1; i <= NR; i++)
            printf "| %s | %.1f us | %.2f | %.1f us | %.2f |\n", name[i], a[i], a[i] / fa, b[i], b[i] / fb
    }'

echo
join <(sort "$work/classic.txt") <(sort "$work/compat.txt") | awk \
    -v frameTarget="$FRAME_TARGET_FILLS" -v mapTarget="$MAP_TARGET_MS" '
    $1 == "BM_WholeSurfaceFill" { fa = $2; fb = $3 }
    $1 ~ /^BM_RoundFrame/ { if ($2 > worstA) worstA = $2; if ($3 > worstB) worstB = $3 }
    $1 == "BM_MapLoad" { ma = $2 / 1000; mb = $3 / 1000 }
    END {
        printf "Round frame, worst case: %.2f fills classic, %.2f fills compat (target <= %d)\n",
            worstA / fa, worstB / fb, frameTarget
        printf "Map load: %.1f ms classic, %.1f ms compat (target < %d ms)\n", ma, mb, mapTarget
    }'

classic_kb=$(peak_memory "")
compat_kb=$(peak_memory "$COMPAT_DIR")
echo "Peak memory on the title screen (max RSS): $((classic_kb / 1024)) MB classic," \
    "$((compat_kb / 1024)) MB compat (target < $MEMORY_TARGET_MB MB)"

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
    "Debian $(cat /etc/debian_version)," \
    "SDL $(dpkg-query -W -f='${Version}' libsdl1.2debian 2>/dev/null)," \
    "sdl12-compat $(dpkg-query -W -f='${Version}' libsdl1.2-compat 2>/dev/null)"
