#!/usr/bin/env bash
# Builds a release into dist/, versioned from project(... VERSION) in CMakeLists.txt:
#   comet-drifter_VERSION_ARCH.deb             Debian package (debhelper, dpkg-buildpackage)
#   comet-drifter-VERSION-linux-ARCH.tar.gz    portable archive, plays from wherever unpacked
#   comet-drifter-VERSION-web.zip              the browser bundle, when build-web/dist/ exists
#   comet-drifter-VERSION-windows-x86_64.zip   the Windows game (windows.sh), plays where unpacked
#   comet-drifter-VERSION-windows-x86_64-setup.exe   its per-user installer (NSIS)
# Work folders: build-deb/, build-release/ and build-windows/. Non-zero on any failure.
# Usage: ./release.sh [--windows]   (--windows: only the two Windows files, the rest of
# dist/ left as it is)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/lib/deps.sh
source scripts/lib/build.sh
only_windows=0
case ${1:-} in
--windows) only_windows=1 ;;
"") ;;
*) echo "Usage: ./release.sh [--windows]" >&2; exit 2 ;;
esac
ensure_packages "${BUILD_PACKAGES[@]}" "${RELEASE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"

VERSION=$(project_version)
[ -n "$VERSION" ] || { echo "No version in CMakeLists.txt's project()." >&2; exit 1; }
# Dates in the package, the manual page and the metainfo: the last commit's, so that the
# same commit makes the same files.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
export SOURCE_DATE_EPOCH
DIST=$PWD/dist
JOBS=$(nproc)

# The source tree as git sees it (committed and new files, nothing ignored), copied to $1.
copy_sources() {
    mkdir -p "$1"
    git ls-files -co --exclude-standard | while IFS= read -r f; do if [ -e "$f" ]; then printf '%s\n' "$f"; fi; done |
        tar -cf - -T - | tar -xf - -C "$1"
}

# dpkg-buildpackage works on a copy with packaging/debian/ as debian/ and writes beside it,
# so the checkout stays clean.
build_deb() {
    local src=build-deb/comet-drifter-$VERSION maintainer
    rm -rf build-deb
    copy_sources "$src"
    cp -r packaging/debian "$src/debian"
    maintainer=$(sed -n 's/^Maintainer: //p' packaging/debian/control)
    printf 'comet-drifter (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
        "$VERSION" "$VERSION" "$maintainer" "$(date -R -u -d "@$SOURCE_DATE_EPOCH")" >"$src/debian/changelog"
    echo "Building the Debian package (log: build-deb/build.log)"
    (cd "$src" && DEB_BUILD_OPTIONS="noddebs parallel=$JOBS" nice -n 10 dpkg-buildpackage -b -us -uc) \
        >build-deb/build.log 2>&1 || { tail -n 30 build-deb/build.log; exit 1; }
    cp build-deb/comet-drifter_"$VERSION"_"$(dpkg --print-architecture)".deb "$DIST/"
}

# The "game" install component (launcher, program, art) with a launcher link and a README
# at the top, in one folder named like the archive.
build_archive() {
    local name=comet-drifter-$VERSION-linux-$(uname -m)
    echo "Building the portable archive"
    cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DCOMET_TESTS=OFF -DCOMET_BENCH=OFF >/dev/null
    nice -n 10 cmake --build build-release -j"$JOBS" >/dev/null
    rm -rf build-release/stage
    cmake --install build-release --component game --prefix "build-release/stage/$name" >/dev/null
    ln -s bin/comet-drifter "build-release/stage/$name/comet-drifter"
    cp build-release/packaging/README.txt "build-release/stage/$name/"
    tar -C build-release/stage --sort=name --owner=0 --group=0 --numeric-owner \
        --mtime="@$SOURCE_DATE_EPOCH" -czf "$DIST/$name.tar.gz" "$name"
}

# The browser build is made by ./web.sh, and made again here first (make redoes only
# what its sources changed), so the zip never holds a page older than the sources.
zip_web() {
    local name=comet-drifter-$VERSION-web
    [ -d build-web/dist ] || { echo "No build-web/dist/ (./web.sh makes it): no web bundle."; return 0; }
    ./web.sh --build-only
    echo "Zipping the browser bundle"
    rm -rf "build-web/$name"
    cp -r build-web/dist "build-web/$name"
    (cd build-web && zip -qrX "$DIST/$name.zip" "$name")
    rm -rf "build-web/$name"
}

# The Windows exe and art (built by windows.sh) with the players' README, zipped in one
# folder named like the zip; the installer installs the same folder's files.
build_windows() {
    local name=comet-drifter-$VERSION-windows-x86_64 stage=build-windows/release
    ./windows.sh
    echo "Zipping the Windows game and making its installer"
    rm -rf "$stage"
    mkdir -p "$stage/$name"
    cp -r build-windows/comet-drifter.exe build-windows/image "$stage/$name/"
    # Windows' Notepad wants CRLF line ends.
    sed -e "s/@VERSION@/$VERSION/" -e 's/$/\r/' packaging/windows/README.txt >"$stage/$name/README.txt"
    find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    rm -f "$DIST/$name.zip"
    (cd "$stage" && zip -qrX "$DIST/$name.zip" "$name")
    makensis -V2 -DVERSION="$VERSION" -DSTAGE="$PWD/$stage/$name" -DOUTFILE="$DIST/$name-setup.exe" \
        packaging/windows/installer.nsi
}

if [ "$only_windows" -eq 1 ]; then
    mkdir -p "$DIST"
    build_windows
    exit 0
fi
rm -rf "$DIST"
mkdir -p "$DIST"
build_deb
build_archive
zip_web
build_windows
echo "Release $VERSION in dist/:"
ls -l "$DIST"
