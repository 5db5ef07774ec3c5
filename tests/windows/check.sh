#!/usr/bin/env bash
# The Windows build, as a player gets it from ./release.sh, run under 64-bit Wine on Xvfb:
#   - the zip holds a 64-bit window program that imports only Windows' own DLLs, the art
#     and the players' README;
#   - the frame-sums driver built for Windows gives classic SDL's kept frames (the same
#     caves: glibc's rand, not Windows' own);
#   - on a 1920x1080 screen, the unpacked zip opens a window of at least twice 480x320
#     with every game pixel a whole square, and plays a Mode A round over an existing
#     Rec.dat (the whole journey is the desktop's, tests/e2e/); its keys arrive through
#     Wine, its console shows as it happens, the save replaces the file, the exit status
#     is 0; the next start reads the records back, and Alt+Enter takes it to full screen;
#   - the installer installs silently, its full-screen Start-menu entry starts the game
#     covering the screen, the picture crisp, and it saves; the silent uninstall leaves
#     the records alone.
# Wine's prefix is kept in build-windows/wine/; logs and screenshots land in build-windows/check/.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib/deps.sh"
source "$ROOT/scripts/lib/build.sh"
source "$ROOT/scripts/lib/window.sh"
source "$ROOT/scripts/lib/wine.sh"
ensure_packages "${WINDOWS_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}"
"$ROOT/release.sh" --windows || exit 1

VERSION=$(project_version)
NAME=comet-drifter-$VERSION-windows-x86_64
OUT=$ROOT/build-windows/check
TMP=$(mktemp -d /tmp/comet-windows-XXXXXX)
rm -rf "$OUT" && mkdir -p "$OUT"
trap 'wine_stop; cleanup' EXIT
unzip -q "$ROOT/dist/$NAME.zip" -d "$TMP"
GAME_DIR=$TMP/$NAME

# ---- The zip
x86_64-w64-mingw32-objdump -p "$GAME_DIR/comet-drifter.exe" >"$OUT/exe-headers.txt"
check "the exe is 64-bit (PE32+) and a window program" \
    bash -c 'grep -q "^Magic.*(PE32+)" "$1" && grep -q "^Subsystem.*(Windows GUI)" "$1"' _ "$OUT/exe-headers.txt"
DLLS=$(sed -n 's/^\tDLL Name: //p' "$OUT/exe-headers.txt" | paste -sd' ')
check "it imports only Windows' own DLLs ($DLLS)" \
    bash -c '[ -n "$1" ] && ! tr " " "\n" <<<"$1" | grep -viqxE "(kernel32|user32|gdi32|winmm|advapi32|msvcrt)\.dll"' _ "$DLLS"
check "the zip holds the art, file for file" diff -r "$GAME_DIR/image" "$ROOT/build-windows/native/image"
check "the zip's README says where the records live" grep -q 'Rec.dat, beside comet-drifter.exe' "$GAME_DIR/README.txt"

start_display 1920x1080 || exit 1
SCREEN=$(xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
unset SDL_VIDEODRIVER  # the game's own choice, as on Windows
wine_prefix "$ROOT" || exit 1

# ---- The frames (check.sh also shows that it notices a one-pixel nudge)
printf '#!/bin/bash\nsource "%s"\nwine_console "%s" "$@"\n' \
    "$ROOT/scripts/lib/wine.sh" "$ROOT/build-windows/frame_sums.exe" >"$TMP/frame_sums"
chmod +x "$TMP/frame_sums"
check "the Windows frames are classic SDL's kept ones" \
    "$ROOT/tests/golden/check.sh" "$TMP/frame_sums" "$GAME_DIR/image" "$OUT/frames"

# starts NAME CONSOLE COMMAND...: the game in a real window, its console in CONSOLE; waits
# until the window has the focus (Wine drops keys sent before) and the title is up.
starts() {
    local name=$1 console=$2
    shift 2
    wait_no_window
    start_command "$OUT/$name-wine.log" "$@" || return 1
    LOG=$console
    for _ in $(seq 200); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WID" ] && break
        xdotool windowfocus "$WID" 2>/dev/null; sleep 0.05
    done
    check "$name: the window has the focus" test "$(xdotool getwindowfocus 2>/dev/null)" = "$WID"
    check "$name: the title is up, its console whole so far (not held in a buffer)" console_whole
}
console_whole() { wait_for_count "$SEPARATOR" 1 && [ "$(tail -n1 "$LOG" | tr -d '\r')" = "$SEPARATOR" ]; }
records() { tr -d '\r' <"$1" | paste -sd' '; }
# crisp SHOT: the picture in SHOT (what is not black round it; its size in PICTURE) is
# the game's 480x320 at a whole factor of 2 or more, each game pixel a square: sampled
# down to one pixel a game pixel and up again, nothing changes.
crisp() {
    local picture=${1%.png}-picture.png factor
    convert "$1" -bordercolor black -border 1 -trim +repage "$picture" &&
        PICTURE=$(identify -format '%wx%h' "$picture") && factor=$((${PICTURE%x*} / 480)) &&
        [ "$factor" -ge 2 ] && [ "$PICTURE" = "$((480 * factor))x$((320 * factor))" ] &&
        convert "$picture" -sample 480x320! -sample "$PICTURE!" png:- |
        compare -metric AE "$picture" png:- null: 2>/dev/null
}
# shows_crisp NAME SIZE: within about 5 s the game's window is SIZE (WxH) and, once drawn,
# a crisp picture (shot in NAME.png).
shows_crisp() {
    for _ in $(seq 20); do
        xwininfo -id "$WID" >/dev/null 2>&1 || find_window
        [ "$(window_size)" = "$2" ] && shot "$OUT/$1.png" && crisp "$OUT/$1.png" && return 0
        sleep 0.25
    done
    return 1
}
titles_records() { sed -n 's/^Mode[AB] Rec: //p' "$LOG" | tr -d '\r' | head -n2 | paste -sd' '; }
# saves_ok N [TEST...]: no save failed, N lines said a load or save went well, and TEST holds.
saves_ok() {
    local n=$1; shift
    [ "$(grep -c '^Error: RecordFile' "$LOG")" -eq 0 ] && [ "$(grep -c '^OK: RecordFile' "$LOG")" -ge "$n" ] && test "${@:-x}"
}

# ---- The unpacked zip, over an existing Rec.dat
printf '5\r\n7\r\n' >"$GAME_DIR/Rec.dat"
play_zip() { starts "$1" "$GAME_DIR/stdout.txt" bash -c 'cd "$1" && exec "$2" comet-drifter.exe' _ "$GAME_DIR" "$WINE64"; }
play_zip zip
check "zip: the title reads the existing Rec.dat (5 7)" test "$(titles_records)" = "5 7"
SIZE=$(window_size)
check "zip: the window ($SIZE) is the picture at a whole factor of 2 or more, each game pixel a square" \
    eval 'shows_crisp zip-title "$SIZE" && [ "$PICTURE" = "$SIZE" ]'
key a
check "zip: a starts Mode A, whose frame rates show as they happen" wait_for_count FPS 3
shot "$OUT/zip-round.png"
crash; key Escape
wait_game
check "zip: Escape ends the game with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
tr -d '\r' <"$LOG" >"$OUT/zip-console.txt"
FPS=$(LOG=$OUT/zip-console.txt full_second_rates | sort -n | paste -sd' ')
MEDIAN=$(echo "$FPS" | awk '{ print $(int((NF + 1) / 2)) + 0 }')
check "zip: the typical full second's frame rate is above a sanity floor of 15, none above 64 ($FPS)" \
    test "$MEDIAN" -ge 15 -a "${FPS##* }" -le 64
check "zip: the save succeeded over the existing Rec.dat" saves_ok 1
SAVED=$(records "$GAME_DIR/Rec.dat")
check "zip: Rec.dat holds the new Mode A record and the Mode B one kept ($SAVED)" \
    bash -c 'set -- $1; [ "$#" -eq 2 ] && [ "$1" -gt 5 ] && [ "$2" -eq 7 ]' _ "$SAVED"
play_zip zip-again
check "zip: the next start reads them back" test "$(titles_records)" = "$SAVED"
key alt+Return
check "zip: Alt+Enter takes it to full screen" shows_crisp zip-full-screen "$SCREEN"
key Escape
wait_game
check "zip: and ends with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0

# ---- The installer, in the prefix's user folders
USER_DIR=$(wine_user_folder)
INSTALLED="$USER_DIR/AppData/Local/Programs/COMET DRIFTER"
LINK="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/COMET DRIFTER.lnk"
FULL_SCREEN_LINK="${LINK%.lnk} (full screen).lnk"
rm -rf "$INSTALLED"  # what an interrupted run left
"$WINE64" "$ROOT/dist/$NAME-setup.exe" /S
check "the installer installs silently: the exe, the art, the README, the uninstaller, the shortcuts" bash -c \
    'for f in comet-drifter.exe image/material.bmp README.txt uninstall.exe; do [ -f "$1/$f" ] || exit 1; done; [ -f "$2" ] && [ -f "$3" ]' \
    _ "$INSTALLED" "$LINK" "$FULL_SCREEN_LINK"
# start returns at once: the command lasts until the prefix's last program has ended.
starts installed "$INSTALLED/stdout.txt" bash -c '"$1" start /unix "$2" && "$3" -w' _ "$WINE64" "$FULL_SCREEN_LINK" "$WINESERVER"
check "installed: the full-screen entry covers the screen ($SCREEN)" shows_crisp installed-full-screen "$SCREEN"
key a
check "installed: a starts Mode A" wait_for_count FPS 1
crash; key Escape
wait_game
RECORD_A=$(records "$INSTALLED/Rec.dat" | cut -d' ' -f1)
check "installed: the game saves its Mode A record ($RECORD_A) beside it" saves_ok 1 "${RECORD_A:-0}" -gt 0
"$WINE64" "$INSTALLED/uninstall.exe" /S && wine_wait
check "the silent uninstall leaves only the records ($(ls -A "$INSTALLED" | paste -sd' '))" \
    test "$(ls -A "$INSTALLED")" = Rec.dat -a ! -e "$LINK" -a ! -e "$FULL_SCREEN_LINK"
finish
