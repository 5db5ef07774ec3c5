#!/usr/bin/env bash
# The installed game: cmake --install into a scratch prefix, a short round through the
# launcher under Xvfb, Rec.dat in the player's data folder with image/ linked to the
# installed art, records kept across a reinstall elsewhere, the default data folder,
# the menu entry and icon, and a bad --scale refused.
# Usage: install_e2e.sh CMAKE BUILD_DIR OUT_DIR
set -u
CMAKE=$1 BUILD=$2 OUT=$3
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/lib.sh"
mkdir -p "$OUT"
TMP=$(mktemp -d /tmp/comet-install-XXXXXX)
trap cleanup EXIT

# The player's world: a home of their own, and XDG_DATA_HOME elsewhere.
export HOME=$TMP/home XDG_DATA_HOME=$TMP/xdg
mkdir -p "$HOME"
FOLDER=$XDG_DATA_HOME/comet-drifter

install_to() {  # install_to PREFIX
    "$CMAKE" --install "$BUILD" --prefix "$1" >"$OUT/install.log" 2>&1 || { cat "$OUT/install.log"; return 1; }
}
# launch PREFIX LOGNAME: the installed launcher at scale 1 (any machine can open that).
launch() { wait_no_window && start_command "$OUT/$2" "$1/bin/comet-drifter" --scale 1; }
records_loaded() { grep -qx "ModeA Rec: $1" "$LOG" && grep -qx "ModeB Rec: $2" "$LOG"; }

P1=$TMP/prefix-one P2=$TMP/prefix-two
install_to "$P1" || exit 1
# stops STATUS PATTERN COMMAND...: COMMAND ends with STATUS, its console one line matching PATTERN.
stops() { "${@:3}" >"$TMP/said" 2>&1; [ $? -eq "$1" ] && [ "$(wc -l <"$TMP/said")" -eq 1 ] && grep -q "$2" "$TMP/said"; }
check "a bad --scale is refused with status 2 and one line" \
    stops 2 '^Usage: comet-drifter \[--scale N\]' "$P1/bin/comet-drifter" --scale 5
check "without a display the launcher stops with status 1 and one line" \
    stops 1 '^No display:' env -u DISPLAY "$P1/bin/comet-drifter" --scale 1
check "a refused launch makes no data folder" test ! -e "$FOLDER"

# The menu entry: valid, starting the launcher, with an icon under the name it gives.
DESKTOP=$P1/share/applications/comet-drifter.desktop
check "the desktop entry passes desktop-file-validate" desktop-file-validate "$DESKTOP"
check "the desktop entry runs the launcher" grep -qx 'Exec=comet-drifter' "$DESKTOP"
icon=$(sed -n 's/^Icon=//p' "$DESKTOP")
check "the icon '$icon' is installed as a scalable app icon, an SVG document" \
    grep -q '<svg ' "$P1/share/icons/hicolor/scalable/apps/$icon.svg"

start_display || exit 1

# First run: a short Mode A round ended by a crash, then Escape.
launch "$P1" console-1.log || exit 1
check "the title loads its caves" wait_for_count "$SEPARATOR" 1
check "the first run finds the art and no records (an empty line)" \
    test "$(head -n 5 "$LOG")" = "$FIRST_START"
key a
check "a starts a round" wait_for_count "$SEPARATOR" 2
check "the round reports its frames per second" wait_for_count FPS 2
crash
key Escape
wait_game
check "Escape after the crash ends the game with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
check "Rec.dat is in the player's data folder, two lines" \
    awk 'NR == 1 && $0 + 0 > 0 { a = 1 } NR == 2 && $0 == "0" { b = 1 } END { exit !(a && b && NR == 2) }' "$FOLDER/Rec.dat"
recA=$(sed -n 1p "$FOLDER/Rec.dat") recB=$(sed -n 2p "$FOLDER/Rec.dat")
echo "     Rec.dat: $recA $recB"
check "image/ in the data folder is a link to the installed art" \
    test -L "$FOLDER/image" -a "$(readlink -f "$FOLDER/image")" = "$(readlink -f "$P1/share/comet-drifter/image")"
check "nothing went to the default folder while XDG_DATA_HOME was set" test ! -e "$HOME/.local/share/comet-drifter"
check "nothing was written into the installed prefix" test -z "$(find "$P1" -name 'Rec.dat*')"

# Reinstall elsewhere and drop the first prefix: the records stay, the link follows.
install_to "$P2" || exit 1
rm -rf "$P1"
launch "$P2" console-2.log || exit 1
check "after a reinstall the title loads the player's records ($recA, $recB)" \
    wait_for_count "ModeB Rec:" 1
check "  ... and they are the ones saved before" records_loaded "$recA" "$recB"
wait_for_count "$SEPARATOR" 1
check "the image link now points at the new install" \
    test "$(readlink -f "$FOLDER/image")" = "$(readlink -f "$P2/share/comet-drifter/image")"
key Escape
wait_game
check "Escape on the title ends the game with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
check "Rec.dat still holds the records" test "$(cat "$FOLDER/Rec.dat")" = "$(printf '%s\n%s' "$recA" "$recB")"

# No XDG_DATA_HOME: ~/.local/share/comet-drifter, a folder of its own, no records yet.
unset XDG_DATA_HOME
launch "$P2" console-3.log || exit 1
wait_for_count "$SEPARATOR" 1
check "without XDG_DATA_HOME the data folder is ~/.local/share/comet-drifter" \
    test "$(readlink -f "$HOME/.local/share/comet-drifter/image")" = "$(readlink -f "$P2/share/comet-drifter/image")"
check "  ... which holds no records of the other folder" not grep -q "ModeA Rec:" "$LOG"
key Escape
wait_game
check "Escape there ends the game with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
check "the other folder's Rec.dat is untouched" test "$(cat "$FOLDER/Rec.dat")" = "$(printf '%s\n%s' "$recA" "$recB")"

finish
