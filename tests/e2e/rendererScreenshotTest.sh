#!/bin/bash
# The page renderer on the screen: page 1 of a Japanese sample drawn by
# renderProbe in a window of one sheet, captured from the X display, must put
# every character in its stretched grid cell inside the text area, with the
# printer's rows.
source "$(dirname "$0")/lib.sh"

PROBE=${PROBE_EXE:-$PEMO_BUILD/win32/renderProbe.exe}
LAYOUT_TOOL=$PEMO_BUILD/native/pemo-layout
SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt
HELPER=$(dirname "$0")/pageRows.py
OUT=$E2E_OUT/renderer-screen

# Starts the probe on the sample; its pid is in $PEMO_PID. A test that fails
# half-way must not leave the window on the display for the next test.
startProbe() {
  rm -rf "$OUT"; mkdir -p "$OUT"
  wine "$PROBE" show "Z:$SAMPLE" >"$OUT/probe.txt" 2>"$OUT/probe.log" &
  PEMO_PID=$!
  trap 'kill "$PEMO_PID" 2>/dev/null || true' EXIT
}

# Waits up to $1 seconds for the probe to end; its exit status, or 124.
waitForProbe() {
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$PEMO_PID" 2>/dev/null; then
      wait "$PEMO_PID"
      return $?
    fi
    sleep 0.1
  done
  return 124
}

# Captures window $1 into $2 once painting has settled: the picture has ink
# and two captures in a row agree.
captureWhenPainted() {
  local previous="" current
  for _ in $(seq 50); do
    import -window "$1" "$OUT/capture.png" 2>/dev/null || { sleep 0.1; continue; }
    current=$(convert "$OUT/capture.png" ppm:- | md5sum)
    if [ "$current" = "$previous" ] &&
       [ "$(convert "$OUT/capture.png" -format '%[fx:minima < 0.5]' info:)" = 1 ]; then
      mv "$OUT/capture.png" "$2"
      return 0
    fi
    previous=$current
    sleep 0.1
  done
  return 1
}

firstPageIsDrawnInItsCells() {
  [ -x "$LAYOUT_TOOL" ] || fail "no $LAYOUT_TOOL"
  startProbe
  local window
  window=$(waitForWindow renderProbe) || fail "no window" || return 1
  # The text line comes before the window is shown; painting follows showing.
  grep -q '^text ' "$OUT/probe.txt" || fail "no text rectangle: $(cat "$OUT/probe.log")" || return 1
  captureWhenPainted "$window" "$E2E_OUT/renderer-screen.png" || fail "no painted screenshot" || return 1
  pressKey "$window" Escape
  waitForProbe 10 || fail "probe did not close on Esc (status $?)" || return 1

  local columns rows
  columns=$(sed -n 's/^grid columns=\([0-9]*\) .*/\1/p' "$OUT/probe.txt")
  rows=$(sed -n 's/^grid .* rows=\([0-9]*\) .*/\1/p' "$OUT/probe.txt")
  [ -n "$columns" ] && [ -n "$rows" ] || fail "no grid: $(cat "$OUT/probe.txt")" || return 1
  echo "  $(tr '\n' ' ' <"$OUT/probe.txt")"
  "$LAYOUT_TOOL" --columns "$columns" --rows "$rows" "$SAMPLE" >"$OUT/layout.txt" ||
    fail "pemo-layout failed" || return 1
  convert "$E2E_OUT/renderer-screen.png" ppm:"$OUT/screen.ppm" || fail "cannot read the PNG" || return 1
  python3 "$HELPER" screen "$SAMPLE" "$OUT/layout.txt" "$OUT/probe.txt" "$OUT/screen.ppm" \
    | sed 's/^/  /' | tee "$OUT/check.txt"
  [ "${PIPESTATUS[0]}" -eq 0 ] || fail "the screenshot does not show page 1 in its cells"
}

runTests firstPageIsDrawnInItsCells
