#!/usr/bin/env bash
# The whole journey in a real window with real key presses, launched the way play.sh and
# the installed launcher launch it: title, Mode A, crash, retry, crash, back to the title,
# Mode B, Escape. Once at --scale 1 on the library the suite runs on, once at --scale 2
# on sdl12-compat, where the window is 960x640 of whole 2x2 pixels. Then the screens: the
# window the launcher picks on a small and a 4K screen, a --scale too large lowered, full
# screen under a window manager, and a round played with a (virtual) gamepad.
# Screenshots go to OUT.
# Usage: journey_e2e.sh GAME_BINARY DATA_DIR OUT_DIR LAUNCH_SH VIRTUAL_PAD_SO [sanitized]
# (sanitized: the pad, which cannot be preloaded before the sanitizer's runtime, is not played)
set -u
GAME=$(realpath "$1") DATA=$2 OUT=$3 LAUNCH=$(realpath "$4") PAD_SO=$(realpath "$5") SANITIZED=${6:-}
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../../scripts/lib/window.sh"
source "$LAUNCH"
mkdir -p "$OUT"
trap cleanup EXIT
COMPAT_DIR=$(comet_require_compat_dir) || exit 1

# launched [LAUNCHER_ARGS...]: the game in a fresh scratch folder, through launch.sh.
launched() {
    rm -rf "${WORK:-/nonexistent}"
    wait_no_window || { echo "FAIL - the last game's window stays"; return 1; }
    WORK=$(scratch_with_art "$DATA/image")
    start_command "$WORK/console.log" bash -c \
        'cd "$1" && source "$2" && comet_parse_args e2e "${@:4}" && comet_exec "$3"' \
        _ "$WORK" "$LAUNCH" "$GAME" "$@"
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
    launched --scale "$scale" || return 1
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

    key b
    check "b starts a Mode B round" wait_for_count "$SEPARATOR" 5
    sleep 3.5
    shot "$OUT/4-mode-b-$at.png"
    key Escape
    wait_game
    check "Escape ends the program with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
    # The 16 ms grid itself is proved on an injected clock (MainLoop, Pacing). A busy
    # machine slows a real window to any rate, so only the ceiling is checked here: a
    # loop that is not paced runs hundreds of frames a second. A second whose report comes
    # late within its frame holds one frame more than 63.
    local rates
    mapfile -t rates < <(full_second_rates)
    check "frames per second: ${#rates[@]} full seconds, none above 64 (${rates[*]})" \
        awk 'BEGIN { for (i = 1; i < ARGC; i++) { n++; over += ARGV[i] > 64 } exit !(n >= 3 && !over) }' "${rates[@]}"
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

# ---- Screens
# on_screen SIZE [jwm]: a fresh display of that size, with the window manager if named.
on_screen() {
    stop_display
    start_display "$1" || return 1
    [ "${2:-}" = jwm ] && { jwm >/dev/null 2>&1 & sleep 0.5; }
    return 0
}
# The game's window lies wholly on the screen.
on_the_screen() {
    xwininfo -id "$WID" | awk -v screen="$(xwininfo -root | awk '/geometry/ { print $2 }')" '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { split(screen, s, /[x+]/); exit !(x >= 0 && y >= 0 && x + w <= s[1] && y + h <= s[2]) }'
}
leaves() {  # leaves KEY: KEY ends the game with status 0
    key "$1"
    wait_game
    test "$GAME_STATUS" -eq 0
}

echo "# screens"
on_screen 1280x800 && launched
check "1280x800, no option: the window is 960x640 ($(window_size)) and on the screen" \
    test "$(window_size)" = 960x640 -a -n "$(on_the_screen && echo on)"
check "  ... Escape leaves" leaves Escape
launched --scale 3
check "1280x800, --scale 3: lowered to 960x640 ($(window_size)), on the screen, with one line saying so" \
    test "$(window_size) $(grep -c 'does not fit this screen' "$LOG")" = "960x640 1" -a -n "$(on_the_screen && echo on)"
check "  ... Escape leaves" leaves Escape
on_screen 3840x2160 && launched
check "3840x2160, no option: the window is 2880x1920 ($(window_size))" test "$(window_size)" = 2880x1920
check "  ... Escape leaves" leaves Escape

# Full screen on a 1920x1080 screen: 3 is a whole factor that fills most of it.
on_screen 1920x1080 jwm && launched --fullscreen
wait_for_count "$SEPARATOR" 1 && sleep 1
import -window root "$OUT/fullscreen-1920x1080.png"
check "full screen: the window covers the 1920x1080 screen ($(window_size))" test "$(window_size)" = 1920x1080
check "  ... the picture is 1440x960 in the middle, black round it ($(convert "$OUT/fullscreen-1920x1080.png" -format %@ info:))" \
    test "$(convert "$OUT/fullscreen-1920x1080.png" -format %@ info:)" = 1440x960+240+60
check "  ... made of whole 3x3 pixels" bash -c '[ "$(convert "$1" -crop 1440x960+240+60 +repage -write mpr:p +delete \
    mpr:p -sample 480x320 -sample 1440x960 mpr:p -metric AE -compare -format %[distortion] info:)" = 0 ]' _ "$OUT/fullscreen-1920x1080.png"
check "  ... Escape leaves" leaves Escape

# A pad's round: X starts Mode A, the D-pad steers into the wall, Y plays again, the stick
# steers into the wall, Start goes to the title, Back leaves.
if [ "$SANITIZED" = sanitized ]; then
    echo "skip - the pad's round in a sanitizer build"
else
    on_screen 1280x800
    mkfifo "$OUT/pad" 2>/dev/null || [ -p "$OUT/pad" ]
    exec 7<>"$OUT/pad"
    pad() { echo "$*" >&7; sleep 0.1; }
    press() { pad b "$1" 1; pad b "$1" 0; }
    COMET_TEST_PAD=$OUT/pad LD_PRELOAD=$PAD_SO launched
    wait_for_count "$SEPARATOR" 1
    press 2
    check "pad: X starts a round" wait_for_count "$SEPARATOR" 2
    pad h "$((0x08))"; sleep 0.6; pad h 0; sleep 0.3
    press 3
    check "pad: the D-pad steered into the wall, and Y plays again" wait_for_count "$SEPARATOR" 3
    pad a 0 -30000; sleep 0.6; pad a 0 0; sleep 0.3
    press 7
    check "pad: the stick steered into the wall, and Start goes to the title" wait_for_count "$SEPARATOR" 4
    press 6
    wait_game
    check "pad: Back leaves with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
    exec 7>&-
fi
finish
