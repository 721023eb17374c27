#!/bin/bash
# Times a document load (read, break at 80 columns with kinsoku, paginate at
# 60 rows) against `fold -w 80` on the same generated 50 MB Shift_JIS file,
# best of 3 runs each, and prints the heap the loaded document takes.
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
file=$work/document.txt
"$bench" --generate "$file"
size=$(stat -c %s "$file")
cat "$file" > /dev/null  # both read it from the page cache

# Wall-clock nanoseconds of the fastest of three runs of a command.
bestOfThree() {
    local best=0 start end elapsed
    for _ in 1 2 3; do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        elapsed=$((end - start))
        if ((best == 0 || elapsed < best)); then best=$elapsed; fi
    done
    echo "$best"
}

engineNs=$(bestOfThree "$bench" --run "$file")
foldNs=$(bestOfThree fold -w 80 "$file")
stats=$("$bench" --run "$file")
field() { sed -n "s/.*\\b$1=\\([0-9]*\\).*/\\1/p" <<< "$stats"; }
loaded=$(field loadedBytes)
broken=$(field brokenBytes)

awk -v size="$size" -v engine="$engineNs" -v fold="$foldNs" -v loaded="$loaded" \
    -v broken="$broken" -v rows="$(field rows)" -v pages="$(field pages)" 'BEGIN {
    mb = size / 1e6
    engineRate = mb / (engine / 1e9)
    foldRate = mb / (fold / 1e9)
    printf "file:    %d bytes (%.1f MB), %d rows, %d pages at 80 x 60\n", size, mb, rows, pages
    printf "engine:  %8.1f MB/s  (%.3f s, load + break + paginate)\n", engineRate, engine / 1e9
    printf "fold:    %8.1f MB/s  (%.3f s, fold -w 80)\n", foldRate, fold / 1e9
    printf "speed ratio engine/fold: %.2f  (target >= 1: %s)\n", engineRate / foldRate,
           (engineRate >= foldRate) ? "met" : "missed"
    printf "memory:  loaded %.1f MB = %.2f x file; with rows %.1f MB = %.2f x file  (target loaded <= 3: %s)\n",
           loaded / 1e6, loaded / size, broken / 1e6, broken / size,
           (loaded <= 3 * size) ? "met" : "missed"
}'
