#!/usr/bin/env bash
# End to end in a real window: title, Mode A, crash, retry, back to the title, Mode B,
# and Escape, with real key presses; screenshots go to OUT for a person to look at.
# Usage: play_e2e.sh GAME_BINARY DATA_DIR OUT_DIR
set -u
GAME=$1 DATA=$2 OUT=$3
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
mkdir -p "$OUT"
trap cleanup EXIT

start_display || exit 1
start_game "$GAME" "$DATA" || exit 1
check "the window appears with the caption COMET DRIFTER" \
    test "$(xprop -id "$WID" WM_NAME 2>/dev/null)" = 'WM_NAME(STRING) = "COMET DRIFTER"'
check "the title loads its caves" wait_for_count "$SEPARATOR" 1
check "start-up lines: sheet, records (none yet: an empty line), map list" \
    test "$(head -n 5 "$LOG")" = "$FIRST_START"
sleep 1.2
shot "$OUT/1-title.png"

key a
check "a starts a Mode A round" wait_for_count "$SEPARATOR" 2
check "the round reports its frames per second" wait_for_count FPS 3
crash
shot "$OUT/2-game-over.png"
key r
check "holding Left crashed the ship, and r starts a new round" wait_for_count "$SEPARATOR" 3
fps_before=$(grep -c FPS "$LOG")
check "the new round runs without the title (frames per second go on)" \
    wait_for_count FPS $((fps_before + 2))
crash
key t
check "t after the crash returns to the title" wait_for_count "$SEPARATOR" 4
fps_title=$(grep -c FPS "$LOG")
sleep 1.5
check "the title prints no frames per second" test "$(grep -c FPS "$LOG")" -eq "$fps_title"

key b
check "b starts a Mode B round" wait_for_count "$SEPARATOR" 5
sleep 4.5
key Escape
wait_game
check "Escape ends the program with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
check "the Mode B round printed its frames per second" \
    test "$(grep -c FPS "$LOG")" -ge $((fps_title + 4))

# Every full second of a running round shows 61 to 63 frames.
mapfile -t rates < <(full_second_rates)
bad=0
for r in "${rates[@]}"; do [ "$r" -ge 61 ] && [ "$r" -le 63 ] || bad=$((bad + 1)); done
check "frames per second lines read 61 to 63 (${rates[*]})" test "${#rates[@]}" -ge 3 -a "$bad" -eq 0
records=$(cat "$WORK/Rec.dat" 2>/dev/null)
check "Rec.dat holds both records, each above 0 ($(echo $records))" \
    awk 'NR==1 && $0+0 > 0 { a=1 } NR==2 && $0+0 > 0 { b=1 } END { exit !(a && b && NR == 2) }' "$WORK/Rec.dat"
check "the console shows the record save at each round end" \
    test "$(grep -c '^OK: RecordFile was successfully loaded.$' "$LOG")" -ge 3
cp "$LOG" "$OUT/console.log"
finish
