#!/usr/bin/env bash
# Fetches Debian's SDL 1.2 source with `apt-get source`, through a
# private apt configuration made from the machine's own apt sources (the same archive
# entries, plus their source entries): nothing is written into the system's apt setup.
# Usage: web/fetch-sources.sh DEST   (DEST gets apt/ and one unpacked folder per package)
# A fetched version other than the one our patches were made for is an error.
set -euo pipefail
mkdir -p "$1"
dest=$(cd "$1" && pwd)  # apt takes relative folders as relative to its own
declare -A WANT=([libsdl1.2]=1.2.15+dfsg2-8)

apt_dir=$dest/apt
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"

# One-line entries: each "deb" line again as "deb-src".
write_private_sources() {
    local f
    : >"$apt_dir/sources.list"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        grep -E '^[[:space:]]*deb[[:space:]]' "$f" | sed -E 's/^[[:space:]]*deb([[:space:]])/deb-src\1/' \
            >>"$apt_dir/sources.list" || true
    done
    # deb822 entries: the same stanzas with source types added.
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

fetch_one() {
    local pkg=$1 version=${WANT[$1]}
    local upstream=${version%-*}
    upstream=${upstream#*:}
    local folder
    folder=$(find "$dest" -maxdepth 1 -type d -name "*-${upstream%%+*}*" | head -n1)
    if [ -n "$folder" ] && [ -f "$folder/.fetched-$version" ]; then return 0; fi
    (cd "$dest" && private_apt source -qq "$pkg=$version") || {
        echo "Error: could not fetch $pkg $version with apt-get source; our patches were made for exactly this version." >&2
        echo "       $(private_apt showsrc "$pkg" 2>/dev/null | grep -m1 '^Version:' || echo 'no source version known')" >&2
        exit 1
    }
    folder=$(find "$dest" -maxdepth 1 -type d -name "*-${upstream%%+*}*" | head -n1)
    local got
    got=$(dpkg-parsechangelog -l "$folder/debian/changelog" -S Version)
    if [ "$got" != "$version" ]; then
        echo "Error: $pkg source is $got, our patches were made for $version." >&2
        exit 1
    fi
    touch "$folder/.fetched-$version"
}

write_private_sources
private_apt update -qq
for pkg in "${!WANT[@]}"; do fetch_one "$pkg"; done
