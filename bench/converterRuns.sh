#!/bin/bash
# The shipped converter run RUNS times in a row (default 10,000) over the
# samples that bench/encodingAccuracy.py made, under load (two busy loops
# beside it), its input in turns a file and a Unix pipe, its output a file.
# Counts the runs that wrote nothing, that ended with a status other than 0,
# and that wrote other than the sample's Shift_JIS form. A Wine prefix of
# its own, so that the test services are left alone.
#
#   bench/converterRuns.sh [RUNS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10000}
build=${PEMO_BUILD:-$root/build}
samples=$build/bench/encodings
work=$build/bench/runs
mkdir -p "$work"
source "$root/tools/wine-env.sh"
export WINEPREFIX=$build/bench/wineprefix
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
wineserver -p 600
mapfile -t files < <(ls "$samples" | grep -v -e '\.expected$' -e '\.out$')
[ ${#files[@]} -gt 0 ] || { echo "no samples: run bench/encodingAccuracy.py first" >&2; exit 1; }
yes >/dev/null & busy1=$!
yes >/dev/null & busy2=$!
trap 'kill $busy1 $busy2' EXIT
empty=0 failed=0 wrong=0 start=$(date +%s)
for ((i = 0; i < runs; i++)); do
  file=$samples/${files[i % ${#files[@]}]}
  if ((i % 2)); then
    wine "$build/win32/sjisConverter.exe" <"$file" >"$work/out" 2>"$work/err"
  else
    cat "$file" | wine "$build/win32/sjisConverter.exe" >"$work/out" 2>"$work/err"
  fi
  status=$?
  [ -s "$work/out" ] || { empty=$((empty + 1)); echo "run $i ($file): nothing written, status $status: $(head -c 200 "$work/err")"; }
  [ $status -eq 0 ] || { failed=$((failed + 1)); echo "run $i ($file): status $status: $(head -c 200 "$work/err")"; }
  cmp -s "$work/out" "${file%.*}.expected" || wrong=$((wrong + 1))
done
echo "$runs runs in $(( $(date +%s) - start )) s: $empty wrote nothing, $failed ended with another status than 0, $wrong wrote other than the expected text"
[ $empty -eq 0 ]
