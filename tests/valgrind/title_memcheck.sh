#!/usr/bin/env bash
# The real game under valgrind's memcheck with the dummy driver: start-up, the records,
# a few seconds of title frames, then SIGTERM (the window's close request). Fails on any
# memcheck error or a definitely or indirectly lost block, or a Rec.dat changed.
#   title_memcheck.sh GAME_BINARY BUILD_DIR [SECONDS_AT_TITLE]
set -uo pipefail
game=$1 build=$2 seconds=${3:-3}
separator=$(printf '_%.0s' $(seq 65))
work=$(mktemp -d /tmp/comet-valgrind-XXXXXX)
trap 'rm -rf "$work"' EXIT
supp=$(cd "$(dirname "$0")" && pwd)/sdl12-compat.supp
ln -s "$build/image" "$work/image"
printf '12\n34\n' > "$work/Rec.dat"
cd "$work"

SDL_VIDEODRIVER=dummy valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --suppressions="$supp" --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --log-file=memcheck.log "$game" > console.txt 2>&1 &
pid=$!
for _ in $(seq 600); do
    grep -q "$separator" console.txt 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
grep -q "$separator" console.txt || { echo "the game never reached the title"; cat console.txt memcheck.log; exit 1; }
sleep "$seconds"
kill -TERM "$pid"
wait "$pid"
status=$?
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable" memcheck.log
[ "$status" -eq 0 ] || { echo "exit status $status (99: memcheck found errors)"; cat memcheck.log; exit 1; }
[ "$(cat Rec.dat)" = "$(printf '12\n34')" ] || { echo "Rec.dat changed at the title"; exit 1; }
echo "memcheck clean: $seconds s at the title"
