#!/bin/bash
# The same text as Shift_JIS and as UTF-8, EUC-JP and ISO-2022-JP, each copy
# read through the shipped converter (which decides its encoding) by a
# pemo.ini rule beside the program: launch to the preview shown under Wine,
# each taken in turns with the Shift_JIS file (bench/startupBench.sh). Then
# the converter alone on each copy repeated to about 300 MB: its time and
# the most memory it held.
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
encodings=(utf8:UTF-8 euc:EUC-JP-MS iso:ISO-2022-JP)
for pair in "${encodings[@]}"; do
  iconv -f CP932 -t "${pair#*:}" "$work/prose.txt" >"$work/prose.${pair%%:*}" || exit 1
  echo "prose.${pair%%:*} $(stat -c %s "$work/prose.${pair%%:*}") bytes"
done
echo "prose.txt $(stat -c %s "$work/prose.txt") bytes"

rules=$build/win32/pemo.ini
trap 'rm -f "$rules"' EXIT
"$root/tools/run.sh" "$work/prose.txt" </dev/null >/dev/null 2>&1  # builds the program first
printf '[Initialize]\nNumOfFilter=1\n[Filter1]\nSuffixes=.utf8 .euc .iso\nInputFilter=sjisConverter.exe\nConsole=0\n' >"$rules"
for pair in "${encodings[@]}"; do
  echo "== ${pair#*:}"
  "$root/bench/startupBench.sh" "$work/prose.${pair%%:*}" "$runs" "$work/prose.txt"
done

source "$root/tools/wine-env.sh"
for pair in "${encodings[@]}"; do
  for _ in $(seq $((300 / megabytes))); do cat "$work/prose.${pair%%:*}"; done >"$work/large"
  /usr/bin/time -f "converter: %e s for $(stat -c %s "$work/large") bytes of ${pair#*:}, at most %M KB held" \
    wine "$build/win32/sjisConverter.exe" <"$work/large" >/dev/null
done
rm -f "$work/large"
