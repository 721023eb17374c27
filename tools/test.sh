#!/bin/bash
# Builds pemoPrint natively and for Windows, and runs every suite: the core's
# unit tests (sanitized), a fuzz run, the Win32 tests under Wine, the
# release package and the end-to-end journeys of the real program. Ends with "N passed, N failed".
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
export PEMO_BUILD=${PEMO_BUILD:-$ROOT/build}
B=$PEMO_BUILD
RESULTS=$B/results
JOBS=${JOBS:-2}
FUZZ_SECONDS=${FUZZ_SECONDS:-45}

tools/setup.sh || exit 1
rm -rf "$RESULTS" "$B/run/suite-results"
mkdir -p "$RESULTS" "$B/run"
broken=()

step() { echo; echo "=== $*"; }

step "native build"
cmake -S . -B "$B/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  make -C "$B/native" -j"$JOBS" --no-print-directory >/dev/null || broken+=("native build")

step "core tests (address and undefined-behaviour sanitizers)"
"$B/native/coreTests" --gtest_brief=1 --gtest_output=xml:"$RESULTS/coreTests.xml" ||
  [ -f "$RESULTS/coreTests.xml" ] || broken+=("core tests")

step "benchmark (short run)"
PEMO_BENCH_MB=2 "$B/native/engineBench" --benchmark_min_time=0.05 >"$RESULTS/bench.txt" 2>&1 &&
  tail -n 8 "$RESULTS/bench.txt" || broken+=("benchmark")

step "fuzz build"
fuzzRun=""
if CC=clang CXX=clang++ cmake -S . -B "$B/fuzz" -DPEMO_FUZZ=ON >/dev/null &&
   make -C "$B/fuzz" -j"$JOBS" --no-print-directory >/dev/null; then
  # The fuzzer runs on one core while the cross build takes the others.
  mkdir -p "$B/fuzz/corpus"
  cp -n fuzz/corpus/coreFuzz/* "$B/fuzz/corpus/" 2>/dev/null
  "$B/fuzz/coreFuzz" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 "$B/fuzz/corpus" \
    >"$RESULTS/coreFuzz.log" 2>&1 &
  fuzzRun=$!
else
  broken+=("fuzz build")
fi

step "cross build (mingw-w64)"
cmake -S . -B "$B/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPEMO_RESULTS_DIR="$RESULTS" >/dev/null &&
  make -C "$B/win32" -j"$JOBS" --no-print-directory >/dev/null || broken+=("cross build")

if [ -n "$fuzzRun" ]; then
  step "fuzz run (${FUZZ_SECONDS}s)"
  if wait "$fuzzRun"; then
    echo "coreFuzz: $(grep -o 'number_of_executed_units: *[0-9]*' "$RESULTS/coreFuzz.log" | grep -o '[0-9]*$') runs, no fault"
    echo "fuzz 1 0" >>"$B/run/suite-results"
  else
    echo "coreFuzz: FAULT (see $RESULTS/coreFuzz.log)"; tail -n 30 "$RESULTS/coreFuzz.log"
    echo "fuzz 0 1" >>"$B/run/suite-results"
  fi
fi

step "release package (for the journeys)"
tools/package.sh >"$RESULTS/package.log" 2>&1 && tail -n 1 "$RESULTS/package.log" || { tail -n 5 "$RESULTS/package.log"; broken+=("package"); }

step "services: display, printer, Wine"
tools/services.sh start || broken+=("services")
trap 'tools/services.sh stop' EXIT

step "Win32 tests under Wine"
(cd "$B/win32" && ctest --output-on-failure) || [ -f "$RESULTS/win32Tests.xml" ] || broken+=("win32 tests")

step "end-to-end journeys"
(source tools/wine-env.sh && python3 tests/e2e/journeys.py) || true

step "summary"
passed=0; failed=0
for xml in "$RESULTS"/*.xml; do
  [ -f "$xml" ] || continue
  tests=$(grep -o '<testsuites tests="[0-9]*" failures="[0-9]*"' "$xml" | head -1)
  t=$(echo "$tests" | sed 's/.*tests="\([0-9]*\)".*/\1/')
  f=$(echo "$tests" | sed 's/.*failures="\([0-9]*\)".*/\1/')
  echo "$(basename "$xml" .xml): $((t - f)) passed, $f failed"
  passed=$((passed + t - f)); failed=$((failed + f))
done
if [ -f "$B/run/suite-results" ]; then
  while read -r kind p f; do passed=$((passed + p)); failed=$((failed + f)); done <"$B/run/suite-results"
  echo "fuzz and end-to-end: $(awk '{p+=$2; f+=$3} END {print p " passed, " f " failed"}' "$B/run/suite-results")"
fi
for b in "${broken[@]}"; do echo "broken: $b"; failed=$((failed + 1)); done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
