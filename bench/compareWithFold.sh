#!/bin/bash
# Times a document load (read, break at 80 columns with kinsoku, paginate at
# 60 rows) against `fold -w 80` on the same generated 50 MB Shift_JIS file,
# for prose (short lines) and for long lines: three runs each, side by side,
# best and range. Then the memory the loaded and broken document holds.
#
#   bench/compareWithFold.sh [BUILD_DIR]    (default build/native)
#
# Builds nothing: BUILD_DIR must hold engineBench, preferably from a Release
# configuration, e.g.
#   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release
#   make -C build/bench -j2 engineBench
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/native}
if [[ ! -d $build && -d $root/$build ]]; then build=$root/$build; fi
bench=$build/engineBench
if [[ ! -x $bench ]]; then
    echo "compareWithFold: no $bench; build the engineBench target first" >&2
    exit 1
fi
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
if [[ $buildType != Release ]]; then
    echo "compareWithFold: note: $build is a '${buildType:-unknown}' build, not Release" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall-clock milliseconds of one run of a command.
timeMs() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

for shape in prose long; do
    file=$work/$shape.txt
    "$bench" --generate "$file" "$shape"
    sync "$file"  # no write-back of it while the runs are timed
    # One untimed run of each first: both then read the file from the page
    # cache, and the engine's memory comes as it does once the system has
    # settled (the very first huge pages after a while may need compacting).
    "$bench" --run "$file"
    fold -w 80 "$file" > /dev/null
    engine=() fold=()
    for _ in 1 2 3; do  # taken in turns, so that both see the same machine
        engine+=("$(timeMs "$bench" --run "$file")")
        fold+=("$(timeMs fold -w 80 "$file")")
    done
    stats=$("$bench" --report "$file")
    rm -f "$file"
    awk -v shape="$shape" -v engine="${engine[*]}" -v fold="${fold[*]}" -v stats="$stats" '
    function best(list,   n, v, i, low, high) {
        n = split(list, v, " "); low = high = v[1]
        for (i = 2; i <= n; ++i) { if (v[i] < low) low = v[i]; if (v[i] > high) high = v[i] }
        lowest = low; highest = high
    }
    function field(name,   m) { return match(stats, name "=[0-9]+") ? substr(stats, RSTART + length(name) + 1, RLENGTH - length(name) - 1) : 0 }
    BEGIN {
        size = field("fileBytes"); lines = field("lines")
        best(engine); e = lowest; eHigh = highest
        best(fold); f = lowest; fHigh = highest
        printf "%-5s %.1f MB, %d lines (%.0f bytes a line), %d rows, %d pages at 80 x 60\n",
               shape, size / 1e6, lines, size / lines, field("rows"), field("pages")
        printf "      engine %4d ms (range %d-%d)  fold -w 80 %4d ms (range %d-%d)  engine/fold %.2f\n",
               e, e, eHigh, f, f, fHigh, e / f
        printf "      document: loaded %.2f x file, broken %.2f x file\n",
               field("loadedBytes") / size, field("brokenBytes") / size
    }'
done
