# Sourced by the scripts that run the game or its drivers away from the build folder.
# shellcheck shell=bash

# scratch_with_art IMAGE_DIR: makes a fresh scratch folder whose image/ links to
# IMAGE_DIR, so that no Rec.dat of an earlier run changes what the game shows, and prints
# its path.
scratch_with_art() {
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/comet-XXXXXX") || return 1
    ln -s "$(realpath "$1")" "$dir/image" && echo "$dir"
}
