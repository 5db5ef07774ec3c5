# Launching the game at the window scale that fits the screen, or in full screen: sourced
# by play.sh, and copied into the installed launcher when CMake configures it, so both
# read --scale and --fullscreen the same way. Classic SDL 1.2 cannot scale a window;
# sdl12-compat can, from outside the program, so a scale above 1 and full screen run the
# same binary on the sdl12-compat runtime.
# Defines functions only.
# shellcheck shell=bash

COMET_SCALE_FALLBACK=2  # when the screen's size cannot be read
# Room kept round the window: for its title bar and borders inside the work area a window
# manager gives (_NET_WORKAREA, panels already left out), or, with only the screen's size
# known, for a panel as well.
COMET_WORKAREA_MARGIN="16 48"
COMET_SCREEN_MARGIN="32 80"

comet_usage() {  # comet_usage PROGRAM
    echo "Usage: $1 [--scale N] [--fullscreen]${COMET_VERSION:+ [--version]}  (the 480x320 window times N; default: the largest that fits the screen)"
}

# comet_refuse PROGRAM WHAT: the one line a bad argument gets, on stderr, and status 2.
comet_refuse() {
    echo "$1: $2. $(comet_usage "$1")" >&2
    exit 2
}

# comet_parse_args PROGRAM ARGS...: sets COMET_SCALE (empty: fit the screen) and
# COMET_FULLSCREEN (0 or 1). A bad argument is refused in one line; --help prints the
# usage line, --version (where COMET_VERSION is set, as in the installed launcher) the
# version, both on stdout with status 0.
comet_parse_args() {
    local program=$1 value
    shift
    COMET_SCALE=""
    COMET_FULLSCREEN=0
    while [ $# -gt 0 ]; do
        case $1 in
            --scale) [ $# -ge 2 ] || comet_refuse "$program" "--scale needs a number"
                     value=$2; shift 2 ;;
            --scale=*) value=${1#--scale=}; shift ;;
            --fullscreen) COMET_FULLSCREEN=1; shift; continue ;;
            -h|--help) comet_usage "$program"; exit 0 ;;
            --version) [ -n "${COMET_VERSION:-}" ] || comet_refuse "$program" "unknown option '$1'"
                       echo "$program $COMET_VERSION"; exit 0 ;;
            *) comet_refuse "$program" "unknown option '$1'" ;;
        esac
        case $value in
            [1-9]|[1-9][0-9]) COMET_SCALE=$value ;;
            *) comet_refuse "$program" "scale '$value' is not a whole number from 1 to 99" ;;
        esac
    done
}

# comet_fit_scale WIDTH HEIGHT: the largest whole factor (at least 1) by which 480x320
# fits in WIDTH x HEIGHT.
comet_fit_scale() {
    local by_width=$(($1 / 480)) by_height=$(($2 / 320)) scale
    scale=$((by_width < by_height ? by_width : by_height))
    echo $((scale < 1 ? 1 : scale))
}

# comet_window_room: prints "WIDTH HEIGHT", the room a window has on the display: the
# window manager's work area less a title bar, else the screen less a panel and a title
# bar. Nothing, and status 1, when neither can be read (no xprop or xwininfo).
comet_window_room() {
    local area margin
    area=$(xprop -root -notype _NET_WORKAREA 2>/dev/null | awk -F'[=,]' 'NF >= 5 { print $4 + 0, $5 + 0 }')
    margin=$COMET_WORKAREA_MARGIN
    if [ -z "$area" ]; then
        area=$(xwininfo -root 2>/dev/null | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { if (w) print w, h }')
        margin=$COMET_SCREEN_MARGIN
    fi
    [ -n "$area" ] || return 1
    set -- $area $margin
    echo "$(($1 - $3)) $(($2 - $4))"
}

# comet_choose_scale: sets COMET_SCALE to what fits the display: the largest factor when
# none was asked for, and one asked for that does not fit lowered, with one line saying so.
comet_choose_scale() {
    local room fit
    if ! room=$(comet_window_room); then
        COMET_SCALE=${COMET_SCALE:-$COMET_SCALE_FALLBACK}
        return 0
    fi
    fit=$(comet_fit_scale $room)
    if [ -z "$COMET_SCALE" ]; then
        COMET_SCALE=$fit
    elif [ "$COMET_SCALE" -gt "$fit" ]; then
        echo "A $((480 * COMET_SCALE))x$((320 * COMET_SCALE)) window (--scale $COMET_SCALE) does not fit this screen: playing at scale $fit, $((480 * fit))x$((320 * fit))." >&2
        COMET_SCALE=$fit
    fi
}

# comet_compat_dir: prints the folder holding the sdl12-compat runtime installed beside
# classic SDL (Debian's libsdl1.2-compat); COMET_SDL12COMPAT_DIR names another one.
comet_compat_dir() {
    local dir dirs=(/usr/lib/*/sdl12-compat /usr/lib64/sdl12-compat /usr/lib/sdl12-compat)
    [ -n "${COMET_SDL12COMPAT_DIR:-}" ] && dirs=("$COMET_SDL12COMPAT_DIR")
    for dir in "${dirs[@]}"; do
        [ -e "$dir/libSDL-1.2.so.0" ] && { echo "$dir"; return 0; }
    done
    return 1
}

# comet_require_compat_dir: as comet_compat_dir, and says so on standard error when
# there is none.
comet_require_compat_dir() {
    comet_compat_dir || { echo "No sdl12-compat runtime (package libsdl1.2-compat)." >&2; return 1; }
}

# comet_links_compat GAME: true when GAME already loads sdl12-compat as its SDL 1.2,
# as on distributions that ship no classic SDL (compat's files are numbered 1.2.x).
comet_links_compat() {
    local lib
    lib=$(ldd "$1" 2>/dev/null | awk '$1 == "libSDL-1.2.so.0" { print $3 }')
    [ -n "$lib" ] || return 1
    case $(readlink -f "$lib") in
        */sdl12-compat/*|*/libSDL-1.2.so.1.2.*) return 0 ;;
    esac
    return 1
}

# comet_scale_env GAME: exports what runs GAME at COMET_SCALE, or in full screen. Both need
# sdl12-compat; without it the window plays at scale 1 and full screen unscaled, with one
# line saying so. Whole pixels always: nearest, never a smoothed picture.
comet_scale_env() {
    local game=$1 dir
    if [ "$COMET_FULLSCREEN" = 1 ]; then
        export COMET_FULLSCREEN  # the game goes full screen itself (FullScreen)
    else
        comet_choose_scale
        [ "$COMET_SCALE" -gt 1 ] || return 0
    fi
    if dir=$(comet_compat_dir); then
        export LD_LIBRARY_PATH="$dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    elif ! comet_links_compat "$game"; then
        if [ "$COMET_FULLSCREEN" = 1 ]; then
            echo "No sdl12-compat runtime (package libsdl1.2-compat): full screen shows the picture at 480x320." >&2
        else
            echo "No sdl12-compat runtime (package libsdl1.2-compat): playing at scale 1, 480x320." >&2
        fi
        COMET_SCALE=1
        return 0
    fi
    [ "$COMET_FULLSCREEN" = 1 ] || export SDL12COMPAT_WINDOW_SCALING=$COMET_SCALE
    export SDL12COMPAT_SCALE_METHOD=nearest
}

# Without a display classic SDL falls back to a text-mode driver and plays in the
# terminal: no DISPLAY stops here with one line, and the X11 driver (unless another is
# asked for) makes a display that does not answer one error line from the game.
comet_require_display() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "No display: COMET DRIFTER needs a graphical session (DISPLAY is not set)." >&2
        exit 1
    fi
    export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-x11}
}

# comet_exec GAME: replaces the shell with GAME at COMET_SCALE, in the current folder.
comet_exec() {
    comet_scale_env "$1"
    exec "$1"
}
