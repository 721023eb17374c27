#!/bin/bash
# Builds pemoPrint natively and for Windows and runs every suite: the core's unit tests
# (sanitized), a fuzz run, the Win32 tests under Wine, the release package and the
# end-to-end journeys. A suite holds only when it exited with 0, gave a verdict for every
# test it lists and nothing reported a fault; anything else is named. Ends with "N passed, N failed".
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
# Wine now and then cannot map its shared user data where address randomness has put something
# else (c0000018), and a filter it starts ends unrun: everything here runs without that randomness.
(( 0x$(cat /proc/self/personality) & 0x40000 )) || exec setarch "$(uname -m)" -R "$ROOT/tests/run.sh" "$@"
# Nothing of the caller's may narrow the tests or quiet a sanitizer.
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS $(compgen -e | grep '^GTEST_')
export PEMO_BUILD=${PEMO_BUILD:-$ROOT/build}
B=$PEMO_BUILD RESULTS=$PEMO_BUILD/results JOBS=${JOBS:-2} FUZZ_SECONDS=${FUZZ_SECONDS:-45}
# A fuzz run below this many inputs has not looked: 800 to 4,000 a second beside the
# cross build, so a tenth of the slowest still leaves room on a busy machine.
FUZZ_MIN_RUNS=$((FUZZ_SECONDS * 100))
# What a sanitizer or Wine prints when a program went wrong, whatever its
# exit status says (Wine may give 0 for a crash at exit).
FAULT_REPORT='ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:|SUMMARY: [A-Za-z]*Sanitizer'
FAULT_REPORT+='|Unhandled exception|wine: Unhandled|starting debugger'

tools/setup.sh || exit 1
rm -rf "$RESULTS"
mkdir -p "$RESULTS" "$B/run"
passed=0 failed=0 faults=()
step() { echo; echo "=== $*"; }
fault() { echo "FAILED: $*"; faults+=("$*"); failed=$((failed + 1)); }
faultReported() { grep -Eq "$FAULT_REPORT" "$@"; }

# A GoogleTest program $2, run by $1 (or directly), named $3 in the verdicts;
# $4 prefixes its XML path (Z: under Wine); $5 the sources whose tests it must list.
gtestSuite() {
  local results=$RESULTS/$(basename "$2" .exe) status listed written head tests failures disabled
  $1 "$2" --gtest_list_tests >"$results.list" 2>&1 || fault "$3: listing exited with $?"
  $1 "$2" --gtest_brief=1 --gtest_output=xml:"${4:-}$results.xml" >"$results.log" 2>&1
  status=$?
  tail -n 5 "$results.log"
  listed=$(grep -cE '^  [A-Za-z_][A-Za-z0-9_/]*([[:space:]]|$)' "$results.list")
  head=$(grep -o '<testsuites [^>]*>' "$results.xml" 2>/dev/null | head -1)
  read -r tests failures disabled < <(sed -n 's/.* tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)".*/\1 \2 \3/p' <<<"$head")
  if [ -z "$disabled" ]; then fault "$3: no verdicts (exit status $status)"; return; fi
  disabled=$((disabled + $(grep -c '<skipped' "$results.xml")))
  passed=$((passed + tests - failures - disabled)) failed=$((failed + failures))
  [ "$failures" -eq 0 ] || faults+=("$3: $failures of $tests failed")
  written=$(cat $5 | grep -cE '^TEST(_F)?\(')
  [ "$listed" -ge "$written" ] && [ "$tests" -eq "$listed" ] || fault "$3: $tests verdicts for $listed tests ($written written)"
  [ "$disabled" -eq 0 ] || fault "$3: $disabled disabled or skipped"
  [ "$status" -eq 0 ] || fault "$3: exit status $status"
  if faultReported "$results.list" "$results.log"; then fault "$3: a fault report (see $results.log)"; fi
}

step "native build"
cmake -S . -B "$B/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  make -C "$B/native" -j"$JOBS" --no-print-directory >/dev/null || fault "native build"

step "core tests (address and undefined-behaviour sanitizers)"
gtestSuite "" "$B/native/coreTests" "core tests" "" "tests/core/*.cpp"

step "fuzz build, then the fuzz run on one core beside the cross build"
fuzzRun=""
if CC=clang CXX=clang++ cmake -S . -B "$B/fuzz" -DPEMO_FUZZ=ON >/dev/null &&
   make -C "$B/fuzz" -j"$JOBS" --no-print-directory >/dev/null; then
  mkdir -p "$B/fuzz/corpus" && cp -n fuzz/corpus/coreFuzz/* "$B/fuzz/corpus/" 2>/dev/null
  "$B/fuzz/coreFuzz" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 "$B/fuzz/corpus" \
    >"$RESULTS/coreFuzz.log" 2>&1 &
  fuzzRun=$!
else
  fault "fuzz build"
fi

step "cross build (mingw-w64)"
cmake -S . -B "$B/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null &&
  make -C "$B/win32" -j"$JOBS" --no-print-directory >/dev/null || fault "cross build"

if [ -n "$fuzzRun" ]; then
  wait "$fuzzRun"
  status=$?
  runs=$(grep -o 'number_of_executed_units: *[0-9]*' "$RESULTS/coreFuzz.log" | grep -o '[0-9]*$')
  if [ $status -ne 0 ] || faultReported "$RESULTS/coreFuzz.log" || [ "${runs:-0}" -lt "$FUZZ_MIN_RUNS" ]; then
    tail -n 30 "$RESULTS/coreFuzz.log"
    fault "fuzz run: exit status $status, ${runs:-no} runs (see $RESULTS/coreFuzz.log)"
  else
    echo "coreFuzz: $runs runs, no fault" && passed=$((passed + 1))
  fi
fi

step "release package (for the journeys)"
tools/package.sh >"$RESULTS/package.log" 2>&1 && tail -n 1 "$RESULTS/package.log" ||
  { tail -n 5 "$RESULTS/package.log"; fault "release package (see $RESULTS/package.log)"; }

step "services: display, printer, Wine"
tools/services.sh start || fault "services"
trap 'tools/services.sh stop' EXIT

step "Win32 tests under Wine"
# Wine's helpers would hold a pipe open: its output goes to files only. The suite takes
# seconds; two minutes is a hang.
underWine() { timeout 120 wine "$@"; local status=$?; [ $status -ne 124 ] || wineserver -k; return $status; }
source tools/wine-env.sh
gtestSuite underWine "$B/win32/win32Tests.exe" "Win32 tests" Z: "tests/win32/*.cpp"

step "end-to-end journeys"
python3 tests/e2e/journeys.py --list >"$RESULTS/journeys.list" 2>&1 || fault "journeys: no list"
python3 tests/e2e/journeys.py 2>&1 | tee "$RESULTS/journeys.log"
status=${PIPESTATUS[0]}
listed=$(grep -c . "$RESULTS/journeys.list")
ok=$(grep -c '^\[ ok \]' "$RESULTS/journeys.log") broke=$(grep -c '^\[FAIL\]' "$RESULTS/journeys.log")
passed=$((passed + ok)) failed=$((failed + broke))
[ "$broke" -eq 0 ] || faults+=("journeys: $broke failed")
[ "$listed" -gt 0 ] && [ "$ok" -eq "$listed" ] || fault "journeys: $ok passed of the $listed listed"
[ "$status" -eq 0 ] || fault "journeys: exit status $status"

step "summary"
for f in "${faults[@]}"; do echo "failed: $f"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#faults[@]} -eq 0 ]
