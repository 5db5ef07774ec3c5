#!/usr/bin/env bash
# The install test: ./release.sh, then the game installed the three ways a player gets it,
# each started through its launcher under Xvfb and played for a round with real keys:
#   cmake --install into a scratch prefix -> the Debian package, installed with apt, then
#   purged -> the portable archive, unpacked into a scratch folder.
# All three keep the records in one per-player folder, so each run must find the records
# of the one before. Also: lintian, appstreamcli and desktop-file-validate on the metadata,
# the package's computed dependencies, bad launcher input refused in one line, and a
# session's end (SIGTERM to the launcher and the game, or to the launcher) keeping the round.
# Logs and a screenshot of each round land in build-release/check/.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib/deps.sh"
source "$ROOT/scripts/lib/build.sh"
source "$ROOT/scripts/lib/window.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}" "${WINDOW_PACKAGES[@]}"
"$ROOT/release.sh" || exit 1

VERSION=$(project_version)
DEB=$ROOT/dist/comet-drifter_${VERSION}_$(dpkg --print-architecture).deb
ARCHIVE=$ROOT/dist/comet-drifter-$VERSION-linux-$(uname -m).tar.gz
OUT=$ROOT/build-release/check
TMP=$(mktemp -d /tmp/comet-release-XXXXXX)
rm -rf "$OUT" && mkdir -p "$OUT" "$TMP/home" "$TMP/elsewhere"
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@" >>"$OUT/apt.log" 2>&1; }
deb_installed() { dpkg-query -W -f='${Status}' comet-drifter 2>/dev/null | grep -q 'install ok installed'; }
trap 'cleanup; deb_installed && apt_get purge comet-drifter' EXIT
deb_installed && { apt_get purge comet-drifter || exit 1; }  # left by an interrupted run

# ---- The metadata
echo "lintian's findings (none is an error):"
check "lintian finds no errors in the package" lintian --fail-on error "$DEB"
META=$ROOT/build-release/packaging/$(sed -n 's/^set(COMET_APPSTREAM_ID \(.*\))/\1/p' "$ROOT/CMakeLists.txt").metainfo.xml
check "appstreamcli validates the metainfo" appstreamcli validate --no-net --pedantic "$META"
check "desktop-file-validate accepts the menu entry" desktop-file-validate "$ROOT/packaging/comet-drifter.desktop"
field() { dpkg-deb -f "$DEB" "$1"; }
check "the package depends on SDL 1.2 and SDL_image 1.2 as found in the program ($(field Depends))" \
    bash -c '[[ $1 == *"libsdl1.2debian ("* && $1 == *"libsdl-image1.2 ("* ]]' _ "$(field Depends)"
check "the package recommends sdl12-compat and x11-utils, and is version $VERSION" \
    test "$(field Recommends) $(field Version)" = "libsdl1.2-compat, x11-utils $VERSION"

# The browser bundle is built by ./web.sh, not here: when it is there, the zip holds it whole.
WEB_ZIP=$ROOT/dist/comet-drifter-$VERSION-web.zip
if [ -d "$ROOT/build-web/dist" ]; then
    check "the web zip holds the browser build, file for file" bash -c 'cmp -s \
        <(unzip -Z1 "$1" | grep -v "/$" | cut -d/ -f2- | sort) <(cd "$2" && find . -type f | cut -c3- | sort)' _ "$WEB_ZIP" "$ROOT/build-web/dist"
else
    echo "     (no build-web/dist/: no web zip to check)"
fi

NAME_WINDOWS=$ROOT/dist/comet-drifter-$VERSION-windows-x86_64  # played by tests/windows/check.sh
check "the release holds the Windows zip and installer" test -s "$NAME_WINDOWS.zip" -a -s "$NAME_WINDOWS-setup.exe"

# ---- The player: a home of their own; the first runs name the data folder explicitly.
export HOME=$TMP/home XDG_DATA_HOME=$TMP/home/.local/share
FOLDER=$HOME/.local/share/comet-drifter
start_display || exit 1

# stops STATUS TEXT COMMAND...: COMMAND ends with STATUS, its console one line holding TEXT
# (a game that had started would have printed its loading lines).
stops() {
    timeout 20 "${@:3}" >"$TMP/said" 2>&1
    [ $? -eq "$1" ] && [ "$(wc -l <"$TMP/said")" -eq 1 ] && grep -qF -- "$2" "$TMP/said"
}
# refuses_bad_input NAME LAUNCHER: --version, and bad input refused before any data folder
# is made; a display that does not answer gets the game's one error line, not a game
# played in the terminal.
refuses_bad_input() {
    local refused=$TMP/refused
    local run=(env XDG_DATA_HOME="$refused" "$2")
    check "$1: --version answers $VERSION" test "$("$2" --version)" = "comet-drifter $VERSION"
    check "$1: an unknown option is refused" stops 2 "unknown option '--window'" "${run[@]}" --window
    check "$1: a scale out of range is refused" stops 2 "scale '0' is not a whole number from 1 to 99" "${run[@]}" --scale 0
    check "$1: no display is refused" stops 1 "No display:" env -u DISPLAY "${run[@]}"
    check "$1: a refused start makes no data folder" test ! -e "$refused"
    check "$1: a display that does not answer ends the game in one line" stops 1 "Error:" env DISPLAY=:9999 "${run[@]}" --scale 1
    rm -rf "$refused"
}

# plays_a_round NAME LAUNCHER IMAGE_DIR: from another working directory, the title loads the
# records the folder holds, a Mode A round ends in a crash, Escape leaves, and Rec.dat has
# the round's score; the folder's image/ is this install's; nothing is written elsewhere.
plays_a_round() {
    local name=$1 before=none recA
    [ -e "$FOLDER/Rec.dat" ] && before=$(paste -sd' ' "$FOLDER/Rec.dat")
    local prevA=${before%% *}
    [ "$before" = none ] && prevA=0
    touch "$TMP/stamp"
    wait_no_window
    start_command "$OUT/$name.log" bash -c 'cd "$1" && exec "$2" --scale 1' _ "$TMP/elsewhere" "$2" ||
        { fails=$((fails + 1)); return; }
    check "$name: the title loads the art and the records kept before ($before)" wait_for_count "$SEPARATOR" 1
    if [ "$before" = none ]; then check "  ... no records yet" test "$(head -n 5 "$LOG")" = "$FIRST_START"
    else check "  ... the same records" test "$(sed -n 's/^Mode[AB] Rec: //p' "$LOG" | paste -sd' ')" = "$before"; fi
    key a
    check "$name: a starts a round" wait_for_count "$SEPARATOR" 2
    wait_for_count FPS 1 && shot "$OUT/$name-round.png"
    crash
    key Escape
    wait_game
    check "$name: Escape after the crash ends the game with status 0 (got $GAME_STATUS)" test "$GAME_STATUS" -eq 0
    recA=$(sed -n 1p "$FOLDER/Rec.dat" 2>/dev/null)
    check "$name: Rec.dat in the player's folder holds a Mode A record ($recA) and Mode B's" \
        test "$(wc -l <"$FOLDER/Rec.dat")" -eq 2 -a "${recA:-0}" -gt 0 -a "${recA:-0}" -ge "$prevA"
    check "$name: the player's folder keeps the records alone" test "$(ls -A "$FOLDER")" = Rec.dat
    check "$name: nothing was written where it was started or beside the art" \
        test -z "$(ls -A "$TMP/elsewhere")$(find "$(dirname "$3")" -newer "$TMP/stamp")"
}

# session_ends NAME LAUNCHER TARGETS: a Mode A round under way when SIGTERM reaches
# TARGETS: "launcher game" (a logout ends both), or "launcher" alone. The game ends the
# round, saves it in the player's folder through the run folder's link, and ends; then the
# launcher removes the run folder. Started from $TMP with the relative HOME "home": the
# same player's folder.
session_ends() {
    local name=$1 game run recA
    printf '1\n0\n' >"$FOLDER/Rec.dat"  # a record any round beats
    wait_no_window
    start_command "$OUT/$name.log" bash -c 'cd "$1" && exec env -u XDG_DATA_HOME HOME=home "$2" --scale 1' \
        _ "$TMP" "$2" || { fails=$((fails + 1)); return; }
    wait_for_count "$SEPARATOR" 1 && key a
    check "$name: a starts a round" wait_for_count FPS 1
    game=$(pgrep -P "$GAME_PID") && run=$(readlink "/proc/$game/cwd")
    # shellcheck disable=SC2046  # TARGETS are words
    kill -TERM $(for t in $3; do [ "$t" = launcher ] && echo "$GAME_PID" || echo "$game"; done)
    wait_game
    recA=$(sed -n 1p "$FOLDER/Rec.dat")
    check "$name: SIGTERM to the $3 saves the round ($recA) and ends both with status 0 (got $GAME_STATUS)" \
        test "${recA:-0}" -gt 1 -a "$GAME_STATUS" -eq 0 -a -n "$game" -a ! -e "/proc/${game:-0}"
    check "$name: the run folder is gone and the player's folder keeps the records alone" \
        test -n "$run" -a ! -e "${run:-/}/Rec.dat" -a "$(ls -A "$FOLDER")" = Rec.dat
}

# ---- cmake --install
PREFIX=$TMP/prefix
cmake --install "$ROOT/build-release" --prefix "$PREFIX" >"$OUT/cmake-install.log" || exit 1
refuses_bad_input "cmake --install" "$PREFIX/bin/comet-drifter"
check "cmake --install: the menu entry's icon is installed" test -s "$PREFIX/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$PREFIX/share/applications/comet-drifter.desktop").svg"
plays_a_round cmake-install "$PREFIX/bin/comet-drifter" "$PREFIX/share/comet-drifter/image"
session_ends logout "$PREFIX/bin/comet-drifter" "launcher game"
session_ends launcher-ended "$PREFIX/bin/comet-drifter" launcher

# ---- The Debian package; the player's folder is now found without XDG_DATA_HOME.
unset XDG_DATA_HOME
check "the package installs with apt" apt_get install "$DEB"
check "dpkg lists the package's files" bash -c 'dpkg -L comet-drifter >"$1"' _ "$TMP/deb-files"
check "the package holds the launcher, the program, the art, the menu entry, the icon, the manual page, the metainfo and the copyright" \
    bash -c 'for f in /usr/games/comet-drifter /usr/lib/games/comet-drifter/comet-drifter /usr/share/games/comet-drifter/image/material.bmp \
        /usr/share/applications/comet-drifter.desktop /usr/share/icons/hicolor/scalable/apps/comet-drifter.svg \
        /usr/share/man/man6/comet-drifter.6.gz /usr/share/metainfo/'"${META##*/}"' /usr/share/doc/comet-drifter/copyright; do
        grep -qx "$f" "$1" || { echo "missing: $f"; exit 1; }; done' _ "$TMP/deb-files"
refuses_bad_input "package" /usr/games/comet-drifter
plays_a_round package /usr/games/comet-drifter /usr/share/games/comet-drifter/image
check "the package is purged" apt_get purge comet-drifter
# Left behind may be only folders that other packages own too (and "/.", dpkg's root).
left_over() { grep -vx '/\.' "$TMP/deb-files" | while IFS= read -r f; do
    [ -e "$f" ] && { [ -d "$f" ] && dpkg-query -S "$f" >/dev/null 2>&1 || echo -n " $f"; }; done; }
LEFT=$(left_over)
check "none of the package's files is left after the purge${LEFT:+ (left:$LEFT)}" test -z "$LEFT"
check "the player's records are left after the purge" test -s "$FOLDER/Rec.dat"

# ---- The portable archive, unpacked into a scratch folder
mkdir -p "$TMP/unpacked"
check "the archive unpacks" tar -xzf "$ARCHIVE" -C "$TMP/unpacked"
GAME_DIR=$TMP/unpacked/$(basename "$ARCHIVE" .tar.gz)
refuses_bad_input "archive" "$GAME_DIR/comet-drifter"
(cd "$TMP/unpacked" && find . | sort) >"$TMP/unpacked-before"
plays_a_round archive "$GAME_DIR/comet-drifter" "$GAME_DIR/share/comet-drifter/image"
check "archive: the unpacked folder is as unpacked after the round" \
    bash -c 'cd "$1" && find . | sort | cmp -s - "$2"' _ "$TMP/unpacked" "$TMP/unpacked-before"

finish
