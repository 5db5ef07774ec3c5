#!/usr/bin/env bash
# --scale as play.sh and scripts/launch.sh read it: 1 to 4, default 2, both spellings;
# anything else is one usage line on stderr and status 2, before anything is built.
# Usage: scale_args.sh PLAY_SH LAUNCH_SH
set -u
PLAY=$1 LAUNCH=$2
source "$(dirname "$0")/lib.sh"
OUT=$(mktemp) ERR=$(mktemp)
trap 'rm -f "$OUT" "$ERR"' EXIT

# parsed ARGS...: the scale launch.sh settles on.
parsed() { bash -c 'source "$1" && comet_parse_args t "${@:2}" && echo "$COMET_SCALE"' _ "$LAUNCH" "$@"; }
check "no argument means scale 2" test "$(parsed)" = 2
for n in 1 2 3 4; do
    check "--scale $n is scale $n" test "$(parsed --scale "$n")" = "$n"
    check "--scale=$n is scale $n" test "$(parsed --scale="$n")" = "$n"
done

# refused ARGS...: play.sh stops with status 2, one usage line on stderr, nothing else.
refused() {
    "$PLAY" "$@" >"$OUT" 2>"$ERR"
    local status=$?
    [ "$status" -eq 2 ] && [ ! -s "$OUT" ] && [ "$(wc -l <"$ERR")" -eq 1 ] &&
        grep -q 'Usage: ./play.sh \[--scale N\] .*1 to 4' "$ERR"
}
for bad in 0 5 9 -1 x 2x 1.5 ''; do
    check "play.sh --scale '$bad' is refused" refused --scale "$bad"
done
check "play.sh --scale with no value is refused" refused --scale
check "play.sh --scale=7 is refused" refused --scale=7
check "play.sh with an unknown argument is refused" refused --fullscreen
check "play.sh with a stray word is refused" refused --scale 2 extra
check "play.sh --help prints the usage line and exits 0" \
    bash -c '"$1" --help | grep -q "^Usage: ./play.sh \[--scale N\]"' _ "$PLAY"

finish
