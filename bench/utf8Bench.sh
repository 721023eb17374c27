#!/bin/bash
# The same text as Shift_JIS and as UTF-8, the UTF-8 copy read through the
# shipped converter by a pemo.ini rule beside the program: launch to the
# preview shown under Wine, taken in turns (bench/startupBench.sh). Then the
# converter alone on a file of that text repeated to about 300 MB: its time
# and the most memory it held.
#
#   bench/utf8Bench.sh [MB [RUNS]]     (default 10 MB, 9 runs)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-10}
runs=${2:-9}
build=${PEMO_BUILD:-$root/build}
work=$build/bench
mkdir -p "$work"

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  make -C "$build/native" -j2 --no-print-directory engineBench >/dev/null || exit 1
PEMO_BENCH_MB=$megabytes "$build/native/engineBench" --generate "$work/prose.txt" prose || exit 1
iconv -f CP932 -t UTF-8 "$work/prose.txt" >"$work/prose.utf8" || exit 1
echo "prose.txt $(stat -c %s "$work/prose.txt") bytes, prose.utf8 $(stat -c %s "$work/prose.utf8") bytes"

rules=$build/win32/pemo.ini
trap 'rm -f "$rules"' EXIT
"$root/tools/run.sh" "$work/prose.txt" </dev/null >/dev/null 2>&1  # builds the program first
printf '[Initialize]\nNumOfFilter=1\n[Filter1]\nSuffixes=.utf8\nInputFilter=sjisConverter.exe\nConsole=0\n' >"$rules"
"$root/bench/startupBench.sh" "$work/prose.utf8" "$runs" "$work/prose.txt"

for _ in $(seq $((300 / megabytes))); do cat "$work/prose.utf8"; done >"$work/large.utf8"
source "$root/tools/wine-env.sh"
/usr/bin/time -f "converter: %e s for $(stat -c %s "$work/large.utf8") bytes of UTF-8, at most %M KB held" \
  wine "$build/win32/sjisConverter.exe" <"$work/large.utf8" >/dev/null
rm -f "$work/large.utf8"
