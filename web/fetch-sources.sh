#!/usr/bin/env bash
# Fetches Debian's SDL 1.2 source with `apt-get source`, through a private apt
# configuration made from the machine's own apt sources (the same archive entries, plus
# their source entries): nothing is written into the system's apt setup, and no archive
# address is written into the project.
# Usage: web/fetch-sources.sh DEST   (DEST gets apt/ and the unpacked source folder)
# A source of any other version than the one our patches were made for is an error.
set -euo pipefail
PACKAGE=libsdl1.2
VERSION=1.2.15+dfsg2-8
FOLDER=libsdl1.2-1.2.15+dfsg2

mkdir -p "$1"
dest=$(cd "$1" && pwd)  # apt takes relative folders as relative to its own
apt_dir=$dest/apt
[ -f "$dest/$FOLDER/.fetched-$VERSION" ] && exit 0

# One-line entries: each "deb" line again as "deb-src". deb822 entries: the same
# stanzas with both types.
write_private_sources() {
    local f
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
    : >"$apt_dir/sources.list"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$f" >>"$apt_dir/sources.list"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        sed -E 's/^Types:.*/Types: deb deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    done
}

private_apt() {
    apt-get -o Dir::Etc::sourcelist="$apt_dir/sources.list" \
        -o Dir::Etc::sourceparts="$apt_dir/sources.list.d" \
        -o Dir::State="$apt_dir/state" -o Dir::Cache="$apt_dir/cache" \
        -o Debug::NoLocking=1 -o APT::Sandbox::User=root "$@"
}

echo "Fetching Debian's source of $PACKAGE $VERSION"
write_private_sources
rm -rf "${dest:?}/$FOLDER"
if ! (private_apt update -qq && cd "$dest" && private_apt source -qq "$PACKAGE=$VERSION") \
    >"$apt_dir/source.log" 2>&1; then
    cat "$apt_dir/source.log" >&2
    echo "Error: apt-get source could not fetch $PACKAGE $VERSION, the version our patches in web/sdl/ were made for." >&2
    exit 1
fi
got=$(dpkg-parsechangelog -l "$dest/$FOLDER/debian/changelog" -S Version)
if [ "$got" != "$VERSION" ]; then
    echo "Error: Debian's $PACKAGE source is $got; our patches were made for $VERSION." >&2
    exit 1
fi
touch "$dest/$FOLDER/.fetched-$VERSION"
