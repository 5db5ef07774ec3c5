# Launching the game at a window scale: sourced by play.sh, and copied into the
# installed launcher when CMake configures it, so both read --scale the same way.
# Classic SDL 1.2 cannot scale a window; sdl12-compat can, from outside the program,
# so a scale above 1 runs the same binary on the sdl12-compat runtime.
# Defines functions only.
# shellcheck shell=bash

COMET_SCALE_DEFAULT=2
COMET_SCALE_MAX=4

comet_usage() {  # comet_usage PROGRAM
    echo "Usage: $1 [--scale N]${COMET_VERSION:+ [--version]}  (N = 1 to $COMET_SCALE_MAX: the 480x320 window times N; default $COMET_SCALE_DEFAULT)"
}

# comet_refuse PROGRAM WHAT: the one line a bad argument gets, on stderr, and status 2.
comet_refuse() {
    echo "$1: $2. $(comet_usage "$1")" >&2
    exit 2
}

# comet_parse_args PROGRAM ARGS...: sets COMET_SCALE. A bad argument is refused in one
# line; --help prints the usage line, --version (where COMET_VERSION is set, as in the
# installed launcher) the version, both on stdout with status 0.
comet_parse_args() {
    local program=$1 value
    shift
    COMET_SCALE=$COMET_SCALE_DEFAULT
    while [ $# -gt 0 ]; do
        case $1 in
            --scale) [ $# -ge 2 ] || comet_refuse "$program" "--scale needs a number"
                     value=$2; shift 2 ;;
            --scale=*) value=${1#--scale=}; shift ;;
            -h|--help) comet_usage "$program"; exit 0 ;;
            --version) [ -n "${COMET_VERSION:-}" ] || comet_refuse "$program" "unknown option '$1'"
                       echo "$program $COMET_VERSION"; exit 0 ;;
            *) comet_refuse "$program" "unknown option '$1'" ;;
        esac
        case $value in
            [1-$COMET_SCALE_MAX]) COMET_SCALE=$value ;;
            *) comet_refuse "$program" "scale '$value' is not 1 to $COMET_SCALE_MAX" ;;
        esac
    done
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

# comet_scale_env GAME: exports what runs GAME at COMET_SCALE. Without sdl12-compat the
# scale falls back to 1, with one line saying so.
comet_scale_env() {
    local game=$1 dir
    [ "$COMET_SCALE" -gt 1 ] || return 0
    if dir=$(comet_compat_dir); then
        export LD_LIBRARY_PATH="$dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    elif ! comet_links_compat "$game"; then
        echo "No sdl12-compat runtime (package libsdl1.2-compat): playing at scale 1, 480x320." >&2
        COMET_SCALE=1
        return 0
    fi
    export SDL12COMPAT_WINDOW_SCALING=$COMET_SCALE
    export SDL12COMPAT_SCALE_METHOD=nearest  # whole pixels: the frame stays crisp
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
