# Sourced by the scripts that run the Windows build under Wine: 64-bit Wine (the game is a
# 64-bit exe, so no 32-bit Wine is needed) with a private prefix in build-windows/wine/,
# made once and kept, quiet, and without the prompts to install Mono and Gecko.
# shellcheck shell=bash

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

# wine_prefix ROOT: exports Wine's settings for ROOT's prefix, making it the first time
# (about 30 s). Run it with a display: the first start of Wine opens windows of its own.
wine_prefix() {
    export WINEPREFIX=$1/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/.made" ] && return 0
    echo "Making the Wine prefix $WINEPREFIX (about 30 s, once)"
    rm -rf "$WINEPREFIX"
    "$WINE64" wineboot --init >/dev/null 2>&1
    "$WINESERVER" -w
    [ -d "$WINEPREFIX/drive_c/windows" ] || { echo "FAIL - wineboot made no prefix"; return 1; }
    touch "$WINEPREFIX/.made"
}

# wine_console EXE ARGS...: runs a console program; its output with Unix line ends. SDL's
# start-up code would send it to stdout.txt beside the exe, as for a window program.
wine_console() (
    set -o pipefail
    SDL_STDIO_REDIRECT=0 "$WINE64" "$@" | tr -d '\r'
)

# The Windows user's folders in the prefix, as Unix paths.
wine_user_folder() { echo "$WINEPREFIX/drive_c/users/$(id -un)"; }

# wine_wait: until every program of the prefix has ended (an NSIS uninstaller goes on
# in a copy of itself after the one started has returned).
wine_wait() { "$WINESERVER" -w; }

# wine_stop: ends this prefix's Wine server and the programs left under it.
wine_stop() { [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null; true; }
