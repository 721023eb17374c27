# Helpers for end-to-end tests: the real pemoPrint.exe under Wine on the
# private display. Each test is a function; runTests runs the named ones and
# records a line per test in $PEMO_RUN/suite-results.
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env.sh"
PEMO_EXE=${PEMO_EXE:-$PEMO_BUILD/win32/pemoPrint.exe}
E2E_OUT=$PEMO_BUILD/e2e
mkdir -p "$E2E_OUT"

fail() { echo "  failed: $*"; return 1; }

# Starts the program in the background; its pid is in $PEMO_PID.
startProgram() {
  wine "$PEMO_EXE" "$@" >"$E2E_OUT/program.log" 2>&1 &
  PEMO_PID=$!
}

# Waits for a top-level window whose title is exactly $1; prints its id.
waitForWindow() {
  local title=$1 id
  for _ in $(seq 100); do
    id=$(xdotool search --name "^$title\$" 2>/dev/null | head -1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits for the program to end; gives its exit status, 124 on a time-out.
waitForExit() {
  local seconds=${1:-10}
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$PEMO_PID" 2>/dev/null; then
      wait "$PEMO_PID"
      return $?
    fi
    sleep 0.1
  done
  kill "$PEMO_PID" 2>/dev/null
  wineserver -k 2>/dev/null
  return 124
}

pressKey() {
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key "$2"
}

runTests() {
  local passed=0 failed=0
  for test in "$@"; do
    if ( set -e; "$test" ); then
      echo "[ ok ] $test"; passed=$((passed + 1))
    else
      echo "[FAIL] $test"; failed=$((failed + 1))
    fi
  done
  echo "e2e $passed $failed" >>"$PEMO_RUN/suite-results"
  [ $failed -eq 0 ]
}
