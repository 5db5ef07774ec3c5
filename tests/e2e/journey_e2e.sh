#!/usr/bin/env bash
# The whole journey in a real window with real key presses, launched the way play.sh and
# the installed launcher launch it: title, Mode A, crash, retry, crash, back to the title,
# Mode B, Escape. Once at --scale 1 on the library the suite runs on, once at --scale 2
# on sdl12-compat, where the window is 960x640 of whole 2x2 pixels. Screenshots go to OUT.
# Usage: journey_e2e.sh GAME_BINARY DATA_DIR OUT_DIR LAUNCH_SH
set -u
GAME=$(realpath "$1") DATA=$2 OUT=$3 LAUNCH=$(realpath "$4")
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../../scripts/lib/window.sh"
source "$LAUNCH"
mkdir -p "$OUT"
trap cleanup EXIT
COMPAT_DIR=$(comet_require_compat_dir) || exit 1

# launched SCALE: the game in a fresh scratch folder, through launch.sh at that scale.
launched() {
    rm -rf "${WORK:-/nonexistent}"
    wait_no_window || { echo "FAIL - the last game's window stays"; return 1; }
    WORK=$(scratch_with_art "$DATA/image")
    start_command "$WORK/console.log" bash -c \
        'cd "$1" && source "$2" && comet_parse_args e2e --scale "$4" && comet_exec "$3"' \
        _ "$WORK" "$LAUNCH" "$GAME" "$1"
}
# Every 2x2 block of the picture is one colour: sampling one pixel a block and doubling
# it again gives the same picture (a smoothed scale blends neighbours and fails).
whole_pixels() {
    [ "$(convert "$1" -sample 50% -sample 200% - | compare -metric AE "$1" - null: 2>&1)" = 0 ]
}
loads() {  # loads classic|compat
    if [ "$1" = compat ]; then maps_library "$COMPAT_DIR/libSDL"; else maps_library libSDL-1.2 && ! maps_library sdl12-compat; fi
}

# journey SCALE classic|compat
journey() {
    local scale=$1 library=$2 at="x$1" size="$((480 * $1))x$((320 * $1))"
    echo "# at scale $scale"
    launched "$scale" || return 1
    check "the window is $size ($(window_size))" test "$(window_size)" = "$size"
    check "the game loaded $library SDL 1.2" loads "$library"
    check "the caption is COMET DRIFTER" \
        test "$(xprop -id "$WID" WM_NAME 2>/dev/null)" = 'WM_NAME(STRING) = "COMET DRIFTER"'
    check "the title loads its caves" wait_for_count "$SEPARATOR" 1
    check "start-up lines: sheet, records (none yet: an empty line), map list" \
        test "$(head -n 5 "$LOG")" = "$FIRST_START"
    sleep 1.2
    shot "$OUT/1-title-$at.png"
    [ "$scale" -eq 2 ] && check "the title is made of whole 2x2 pixels" whole_pixels "$OUT/1-title-$at.png"

    key a
    check "a starts a Mode A round" wait_for_count "$SEPARATOR" 2
    check "the round reports its frames per second" wait_for_count FPS 3
    shot "$OUT/2-round-$at.png"
    crash
    shot "$OUT/3-game-over-$at.png"
    key r
    check "holding Left crashed the ship, and r starts a new round" wait_for_count "$SEPARATOR" 3
    crash
    key t
    check "t after the crash returns to the title" wait_for_count "$SEPARATOR" 4
    local fps_title
    fps_title=$(grep -c FPS "$LOG")
    sleep 1.5
    check "the title prints no frames per second" test "$(grep -c FPS "$LOG")" -eq "$fps_title"

    key b
    check "b starts a Mode B round" wait_for_count "$SEPARATOR" 5
    sleep 3.5
    shot "$OUT/4-mode-b-$at.png"
    key Escape
    wait_game
    check "Escape ends the program with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
    # The 16 ms grid itself is proved on an injected clock (MainLoop, Pacing). A busy
    # machine slows a real window to any rate, so only the ceiling is checked here: a
    # loop that is not paced runs hundreds of frames a second.
    local rates
    mapfile -t rates < <(full_second_rates)
    check "frames per second: ${#rates[@]} full seconds, none above 63 (${rates[*]})" \
        awk 'BEGIN { for (i = 1; i < ARGC; i++) { n++; over += ARGV[i] > 63 } exit !(n >= 3 && !over) }' "${rates[@]}"
    check "Rec.dat holds both records, each above 0 ($(tr '\n' ' ' <"$WORK/Rec.dat"))" \
        awk 'NR==1 && $0+0 > 0 { a=1 } NR==2 && $0+0 > 0 { b=1 } END { exit !(a && b && NR == 2) }' "$WORK/Rec.dat"
    check "the console shows the record save at each round end" \
        test "$(grep -c '^OK: RecordFile was successfully loaded.$' "$LOG")" -ge 3
    cp "$LOG" "$OUT/console-$at.log"
}

start_display 1280x960 || exit 1
# At scale 1 the library is the one the suite runs on: classic, or compat when the
# suite points LD_LIBRARY_PATH at it.
case ":${LD_LIBRARY_PATH:-}:" in
    *":$COMPAT_DIR:"*) journey 1 compat ;;
    *) journey 1 classic ;;
esac
journey 2 compat
finish
