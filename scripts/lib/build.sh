# Sourced by the scripts that build or check a build: the project's one version number,
# and the stamp test that decides whether a kept build step must run again.
# shellcheck shell=bash

COMET_SOURCE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The version in CMakeLists.txt's project(), the only place it is written.
project_version() {
    sed -n 's/^project(CometDrifter VERSION \([0-9][0-9.]*\) .*/\1/p' "$COMET_SOURCE_ROOT/CMakeLists.txt"
}

# stamp_is_fresh STAMP PATH...: true when STAMP exists and nothing in PATH... (files, or
# folders searched whole) is newer than it.
stamp_is_fresh() {
    local stamp=$1
    shift
    [ -f "$stamp" ] && [ -z "$(find "$@" -newer "$stamp" -print -quit)" ]
}
