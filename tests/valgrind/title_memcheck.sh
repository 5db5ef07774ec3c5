#!/usr/bin/env bash
# The real game under valgrind's memcheck with the dummy driver: start-up, the records,
# a few seconds of title frames, then SIGTERM (the window's close request). Fails on any
# memcheck error or a definitely or indirectly lost block.
#   title_memcheck.sh GAME_BINARY BUILD_DIR [SECONDS_AT_TITLE]
set -uo pipefail
game=$1
build=$2
seconds=${3:-3}
separator=_________________________________________________________________

work=$(mktemp -d /tmp/comet-valgrind-XXXXXX)
trap 'rm -rf "$work"' EXIT
ln -s "$build/image" "$work/image"
printf '12\n34\n' > "$work/Rec.dat"
cd "$work"

supp=$(cd "$(dirname "$0")" && pwd)/sdl12-compat.supp
SDL_VIDEODRIVER=dummy valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
    --suppressions="$supp" \
    --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
    --log-file="$work/memcheck.log" "$game" > "$work/console.txt" 2>&1 &
pid=$!

for _ in $(seq 1 600); do
    grep -q "$separator" console.txt 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if ! grep -q "$separator" console.txt; then
    echo "the game never reached the title"; cat console.txt memcheck.log; exit 1
fi
sleep "$seconds"
kill -TERM "$pid"
wait "$pid"
status=$?

grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable" memcheck.log
if [ "$status" -ne 0 ]; then
    echo "exit status $status (99: memcheck found errors)"
    cat memcheck.log
    exit 1
fi
if [ "$(cat Rec.dat)" != "$(printf '12\n34')" ]; then
    echo "Rec.dat changed at the title"; exit 1
fi
echo "memcheck clean: $seconds s at the title"
