#!/bin/bash
# The shipped converter run RUNS times in a row (default 10,000) over the
# samples that bench/encodingAccuracy.py made, under load (two busy loops
# beside it), its input in turns a file and a Unix pipe, its output a file.
# Counts the runs that wrote nothing, that ended with a status other than 0,
# and that wrote other than the sample's Shift_JIS form, and shows what such
# a run said on standard error (Wine's errors too). A Wine prefix of its
# own, so that the test services are left alone.
#
# A run can write nothing before the converter starts: now and then Wine
# cannot map the page of its shared user data at the fixed address it needs
# ("failed to map the shared user data: c0000018") when the address space
# is laid out at random, and the run ends with 1. --fixed-addresses runs
# Wine without that randomness (setarch -R), to tell those runs from the
# converter's own.
#
#   bench/converterRuns.sh [--fixed-addresses] [RUNS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
launch=(wine)
[ "${1:-}" = --fixed-addresses ] && { launch=(setarch "$(uname -m)" -R wine); shift; }
runs=${1:-10000}
build=${PEMO_BUILD:-$root/build}
samples=$build/bench/encodings
work=$build/bench/runs
mkdir -p "$work"
source "$root/tools/wine-env.sh"
export WINEPREFIX=$build/bench/wineprefix
export WINEDEBUG=err+all  # Wine's own errors kept: a failed run shows them
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
    "${launch[@]}" "$build/win32/sjisConverter.exe" <"$file" >"$work/out" 2>"$work/err"
  else
    cat "$file" | "${launch[@]}" "$build/win32/sjisConverter.exe" >"$work/out" 2>"$work/err"
  fi
  status=$?
  [ -s "$work/out" ] || { empty=$((empty + 1)); echo "run $i ($file): nothing written, status $status: $(grep -v -e wine32 -e multiarch -e "add-architecture" -e "wine32:i386" "$work/err" | head -c 300)"; }
  [ $status -eq 0 ] || { failed=$((failed + 1)); echo "run $i ($file): status $status: $(grep -v -e wine32 -e multiarch -e "add-architecture" -e "wine32:i386" "$work/err" | head -c 300)"; }
  cmp -s "$work/out" "${file%.*}.expected" || wrong=$((wrong + 1))
done
echo "$runs runs in $(( $(date +%s) - start )) s: $empty wrote nothing, $failed ended with another status than 0, $wrong wrote other than the expected text"
[ $empty -eq 0 ]
