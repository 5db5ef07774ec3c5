#!/usr/bin/env bash
# The window at a scale, through scripts/launch.sh as play.sh and the installed launcher
# use it: at 2 on sdl12-compat a 960x640 window whose picture is whole 2x2 pixels, where a
# round plays (a, crash, r, Escape); at 1 the classic library at 480x320; without the
# compat runtime one line and scale 1; a game already on compat scales without the folder.
# Usage: scale_e2e.sh GAME_BINARY DATA_DIR OUT_DIR LAUNCH_SH [sanitized]
# (sanitized: a sanitizer build, too slow to hold the frame rate on compat, so the
# frames-per-second range is not checked)
set -u
GAME=$(realpath "$1") DATA=$2 OUT=$3 LAUNCH=$(realpath "$4") SANITIZED=${5:-}
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
mkdir -p "$OUT"
trap cleanup EXIT
COMPAT_DIR=$(source "$LAUNCH" && comet_compat_dir) || { echo "FAIL - no sdl12-compat runtime here"; exit 1; }
FALLBACK_LINE='No sdl12-compat runtime (package libsdl1.2-compat): playing at scale 1, 480x320.'

# scaled ARGS...: the game in a fresh scratch folder, launched by launch.sh with ARGS.
scaled() {
    rm -rf "${WORK:-/nonexistent}"
    wait_no_window || { echo "FAIL - the last game's window stays"; return 1; }
    WORK=$(mktemp -d /tmp/comet-scale-XXXXXX)
    ln -s "$(realpath "$DATA")/image" "$WORK/image"
    start_command "$WORK/console.log" bash -c \
        'cd "$1" && source "$2" && comet_parse_args scale-test "${@:4}" && comet_exec "$3"' \
        _ "$WORK" "$LAUNCH" "$GAME" "$@"
}
# Escape on the title ends the program with 0.
quit_from_title() { wait_for_count "$SEPARATOR" 1 && key Escape && wait_game && [ "$GAME_STATUS" -eq 0 ]; }
# Every 2x2 block of the picture is one colour: sampling one pixel a block and doubling
# it again gives the same picture (a smoothed scale blends neighbours and fails).
whole_pixels() {
    local diff
    diff=$(convert "$1" -sample 50% -sample 200% - | compare -metric AE "$1" - null: 2>&1)
    echo "     pixels off the 2x2 grid: $diff"
    [ "$diff" = 0 ]
}

start_display 2048x1536 || exit 1  # room for the largest windows

# Scale 2: the round.
scaled --scale 2 || exit 1
check "--scale 2 opens a 960x640 window ($(window_size))" test "$(window_size)" = 960x640
check "--scale 2 runs on the sdl12-compat runtime" maps_library "$COMPAT_DIR/libSDL"
check "the title loads its caves" wait_for_count "$SEPARATOR" 1
sleep 1.2
shot "$OUT/1-title-x2.png"
colours=$(identify -format %k "$OUT/1-title-x2.png")
check "the title shows a picture, not a blank ($colours colours)" test "$colours" -ge 64
check "the title at scale 2 is made of whole 2x2 pixels" whole_pixels "$OUT/1-title-x2.png"

key a
check "a starts a Mode A round" wait_for_count "$SEPARATOR" 2
check "the round reports its frames per second" wait_for_count FPS 3
shot "$OUT/2-round-x2.png"
check "the round at scale 2 is made of whole 2x2 pixels" whole_pixels "$OUT/2-round-x2.png"
crash
shot "$OUT/3-game-over-x2.png"
key r
check "holding Left crashed the ship, and r starts a new round" wait_for_count "$SEPARATOR" 3
fps_before=$(grep -c FPS "$LOG")
check "the new round goes on (frames per second)" wait_for_count FPS $((fps_before + 2))
key Escape
wait_game
check "Escape ends the program with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
# The scaled window costs the round no frames: the typical second (the median of the
# full seconds) still shows 61 to 63 frames, even if a busy machine slows one second.
mapfile -t rates < <(full_second_rates)
median=$(printf '%s\n' "${rates[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
if [ "$SANITIZED" = sanitized ]; then
    echo "skip - frames per second in a sanitizer build (${rates[*]})"
else
    check "the scaled window keeps 61 to 63 frames a second (${rates[*]}; median ${median:-none})" \
        test "${#rates[@]}" -ge 2 -a "${median:-0}" -ge 61 -a "${median:-99}" -le 63
fi
check "no fallback line when the runtime is there" test "$(grep -cF "$FALLBACK_LINE" "$LOG")" -eq 0
cp "$LOG" "$OUT/console-x2.log"

# Scale 1: the classic library, 480x320, whatever LD_LIBRARY_PATH the suite runs with.
# without_ld_path COMPAT_DIR ARGS...: scaled, with no LD_LIBRARY_PATH and the compat
# runtime looked for in COMPAT_DIR (empty: the usual places).
without_ld_path() {
    local saved=${LD_LIBRARY_PATH-} status
    unset LD_LIBRARY_PATH
    COMET_SDL12COMPAT_DIR=$1 scaled "${@:2}"
    status=$?
    [ -n "$saved" ] && export LD_LIBRARY_PATH=$saved
    return $status
}
without_ld_path "" --scale 1 || exit 1
check "--scale 1 opens a 480x320 window ($(window_size))" test "$(window_size)" = 480x320
check "--scale 1 runs on the classic library" not maps_library sdl12-compat
check "--scale 1 quits with Escape" quit_from_title

# No runtime: one line, then scale 1.
without_ld_path /nonexistent --scale 4 || exit 1
check "without the runtime --scale 4 falls back to 480x320 ($(window_size))" test "$(window_size)" = 480x320
check "the fallback quits with Escape" quit_from_title
check "the fallback says so in one line" test "$(grep -cF "$FALLBACK_LINE" "$LOG")" -eq 1
check "the line comes before anything the game prints" test "$(head -n1 "$LOG")" = "$FALLBACK_LINE"

# A game that already loads sdl12-compat (a distribution without classic SDL) scales too.
LD_LIBRARY_PATH=$COMPAT_DIR COMET_SDL12COMPAT_DIR=/nonexistent scaled --scale 3 || exit 1
check "a game already on compat opens 1440x960 at --scale 3 ($(window_size))" test "$(window_size)" = 1440x960
check "a game already on compat quits with Escape" quit_from_title
check "a game already on compat gets no fallback line" test "$(grep -cF "$FALLBACK_LINE" "$LOG")" -eq 0

finish
