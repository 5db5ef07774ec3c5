# Sourced by the real-window scripts (tests, screenshots, measurements): an Xvfb display,
# the game's window, key presses through xdotool, and the scripts' verdicts.

# start_display [WIDTHxHEIGHT [XVFB_OPTION...]]: starts Xvfb (1024x768 unless given) on a
# free display and exports DISPLAY. Always -noreset: otherwise Xvfb resets whenever its
# last client leaves (classic SDL opens and closes the display once to probe it, and an
# ended game leaves too), and a game connecting during the reset cannot open the display.
source "$(dirname "${BASH_SOURCE[0]}")/scratch.sh"

start_display() {
    local dfile size=${1:-1024x768} number
    [ $# -gt 0 ] && shift
    dfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$dfile" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 400); do [ -s "$dfile" ] && break; sleep 0.05; done
    number=$(head -n1 "$dfile")
    rm -f "$dfile"
    [ -n "$number" ] || { echo "FAIL - Xvfb did not start"; return 1; }
    export DISPLAY=":$number"
    export SDL_VIDEODRIVER=x11  # a real window or nothing: never a text-mode fallback
}

stop_display() { [ -n "${XVFB_PID:-}" ] || return 0; kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null || true; }

# start_game BINARY DATA_DIR: runs the game in a new scratch folder WORK that links image/.
start_game() {
    WORK=$(scratch_with_art "$2/image")
    start_command "$WORK/console.log" bash -c 'cd "$1" && exec "$2"' _ "$WORK" "$(realpath "$1")"
}

# start_command LOG COMMAND...: runs COMMAND (which ends in an exec of the game) with its
# console in LOG, and waits (at most 10 s) for the game's window: sets WID and focuses it.
start_command() {
    LOG=$1
    shift
    "$@" >"$LOG" 2>&1 &
    GAME_PID=$!
    WID=""
    for _ in $(seq 200); do
        find_window && break
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.05
    done
    [ -n "$WID" ] || { echo "FAIL - the game's window never appeared; console:"; cat "$LOG"; return 1; }
    xdotool windowfocus "$WID" 2>/dev/null || true
}

# find_window: sets WID to the game's window once it is on screen. A library may make a
# window and replace it while the video mode is set, so a window that is gone by the
# time it is asked about does not count.
find_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^COMET DRIFTER$' 2>/dev/null || true); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'; then
            WID=$id
            return 0
        fi
    done
    return 1
}

# Waits (at most 5 s) until no game window is left, so that the next start_command does
# not find the window of a game that has ended but whose window the server still holds.
wait_no_window() {
    for _ in $(seq 100); do
        [ -z "$(xdotool search --name '^COMET DRIFTER$' 2>/dev/null || true)" ] && return 0
        sleep 0.05
    done
    return 1
}

# wait_for_count TEXT N [SECONDS]: until the console holds TEXT at least N times.
wait_for_count() {
    local text=$1 n=$2 limit=${3:-10}
    for _ in $(seq $((limit * 20))); do
        [ "$(grep -cF -- "$text" "$LOG")" -ge "$n" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

key() { xdotool windowfocus "$WID" 2>/dev/null; xdotool key --delay 30 "$@"; }
hold() { xdotool windowfocus "$WID" 2>/dev/null; xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
crash() { hold Left 0.8; sleep 0.3; }  # off the left edge in 3 frames; held long enough for a busy machine
shot() { import -window "$WID" "$1"; }
window_size() {
    xwininfo -id "$WID" >/dev/null 2>&1 || find_window
    xwininfo -id "$WID" 2>/dev/null | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}
# Whether the game's process has mapped a library file whose path contains TEXT.
maps_library() { grep -qF -- "$1" "/proc/$GAME_PID/maps"; }

# Waits (at most 20 s) for the game to end; GAME_STATUS is its status, 128+N for a signal.
# A game still running then is killed and counts as hung (status 124).
wait_game() {
    for _ in $(seq 400); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
    local hung=0
    if kill -0 "$GAME_PID" 2>/dev/null; then
        echo "FAIL - the game did not end within 20 s: killed"
        kill -9 "$GAME_PID" 2>/dev/null
        hung=1
    fi
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
    [ "$hung" -eq 0 ] || GAME_STATUS=124
    GAME_PID=""
}

SEPARATOR=$(printf '_%.0s' $(seq 65))
FIRST_START=$(printf 'OK: MaterialFile was successfully loaded.\n\n\nOK: MapDataFile was successfully loaded.\n\n')

# The frames-per-second figures of the full seconds of rounds, one a line: a round's
# first report counts from the start of the program, and its last second is cut short.
full_second_rates() {
    awk '/FPS$/ { n++; v[n] = $0 + 0; r[n] = round } /^_+$/ && length($0) == 65 { round++ }
        END { for (i = 2; i < n; i++) if (r[i] == r[i-1]) print v[i] }' "$LOG"
}

# check DESCRIPTION COMMAND... counts a failing COMMAND; finish reports the count.
fails=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; fails=$((fails + 1)); fi
}
finish() { echo "$fails failed"; [ "$fails" -eq 0 ]; }
# For trap EXIT: ends the game and the display, removes the scratch folders WORK and TMP.
# Only a game that was started is killed: "kill -9 0" would end the whole process group.
cleanup() {
    [ -n "${GAME_PID:-}" ] && kill -9 "$GAME_PID" 2>/dev/null
    stop_display
    rm -rf "${WORK:-/nonexistent}" "${TMP:-/nonexistent}"
}
