#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds.
#   scripts/fuzz.sh [SECONDS [TARGET...]]   (default 60 s; targets recordfile maplist)
# Each target grows its corpus in build-fuzz/corpus/NAME, seeded from fuzz/corpus/NAME and
# fed the kept crash inputs of fuzz/regressions/NAME. A crash input lands in
# build-fuzz/artifacts/NAME/: copy it into fuzz/regressions/NAME/ to keep it as a test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(recordfile maplist)
build=$PWD/build-fuzz
source scripts/lib/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCOMET_FUZZ=ON -DCOMET_TESTS=OFF -DCOMET_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_recordfile fuzz_maplist

status=0
for name in "${targets[@]}"; do
    corpus=$build/corpus/$name
    artifacts=$build/artifacts/$name
    mkdir -p "$corpus" "$artifacts"
    cp -n fuzz/corpus/$name/* "$corpus"/ 2>/dev/null || true
    log=$build/fuzz-$name.log
    scratch=$build/tmp
    mkdir -p "$scratch"
    echo "=== fuzz_$name for ${seconds}s"
    # Paths are absolute: the targets work in a scratch folder of their own.
    # stdout closed: the game's console lines would drown the fuzzer's; stdin from
    # /dev/null so a map name of /dev/stdin cannot hang the run.
    if TMPDIR=$scratch "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -close_fd_mask=1 -timeout=10 \
            -rss_limit_mb=2048 -artifact_prefix="$artifacts/" \
            "$corpus" "$PWD/fuzz/regressions/$name" </dev/null >"$log" 2>&1; then
        echo "no crash: $(grep -E '^Done [0-9]+ runs' "$log" | tail -1)"
    else
        status=1
        echo "CRASH: see $log and $artifacts/"
        grep -E 'fuzz check failed|ERROR: |SUMMARY' "$log" | head -5 || true
    fi
    rm -rf "${scratch:?}"/comet-fuzz-*
    echo "corpus: $(ls "$corpus" | wc -l) inputs; $(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)"
done
exit $status
