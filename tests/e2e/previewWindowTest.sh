#!/bin/bash
# Start-up of the preview: the borderless window is exactly one sheet at the
# stored preview scale, at the work area's top-left corner, and shows the
# printable area's frame, the text area's dotted outline and the document's
# text inside it; it closes with Esc or the menu's close item, status 0.
source "$(dirname "$0")/lib.sh"

SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt
A4_MM=209.9,297   # the PDF printer's A4 sheet

# A folder of this test's own for the pictures, and a private copy of the
# sample.
prepareOutput() {
  OUT=$E2E_OUT/preview-$1
  rm -rf "$OUT"; mkdir -p "$OUT"
  DOCUMENT=$OUT/$(uniqueName Preview).txt
  cp "$SAMPLE" "$DOCUMENT"
}

reportStartTime() {
  note "window mapped $(( ($(date +%s%N) - PEMO_STARTED) / 1000000 )) ms after launch"
}

opensAtThreeQuartersOfTheSheet() {
  prepareOutput scale75
  # Not one of the menu's scales: used as it is, the size truncated.
  setSetting "preview scale" REG_DWORD 75
  startProgram "$(windowsPath "$DOCUMENT")"
  local window
  window=$(previewWindow) || fail "no preview window" || return 1
  reportStartTime
  [ "$(windowGeometry "$window")" = "0 0 592 842" ] ||
    fail "window at $(windowGeometry "$window"), expected 592x842 at 0,0" || return 1
  capture "$window" "$OUT/scale75.png"
  checkSheet "$window" "$OUT/scale75.png" --paper-mm "$A4_MM"
  closeWithEscape "$window"
}

opensAtFullSizeWithoutSettings() {
  prepareOutput scale100
  startProgram "$(windowsPath "$DOCUMENT")"
  local window
  window=$(previewWindow) || fail "no preview window" || return 1
  reportStartTime
  [ "$(windowGeometry "$window")" = "0 0 790 1123" ] ||
    fail "window at $(windowGeometry "$window"), expected 790x1123 at 0,0" || return 1
  # The screen is 1024 pixels high: the sheet's bottom is cut off.
  capture "$window" "$OUT/scale100.png"
  checkSheet "$window" "$OUT/scale100.png" --paper-mm "$A4_MM"
  closeWithEscape "$window"
}

# Without a file the sheet is empty: frame and outline, no text. The menu's
# last item, 閉じる(&C), closes the program like Esc.
opensEmptyWithoutFileAndClosesFromTheMenu() {
  prepareOutput empty
  setSetting "preview scale" REG_DWORD 60
  startProgram
  local window
  window=$(previewWindow) || fail "no preview window" || return 1
  [ "$(windowGeometry "$window")" = "0 0 474 673" ] ||
    fail "window at $(windowGeometry "$window"), expected 474x673 at 0,0" || return 1
  capture "$window" "$OUT/empty.png"
  checkSheet "$window" "$OUT/empty.png" --paper-mm "$A4_MM" --empty
  pressKey "$window" ctrl+m
  waitForMenus 1 >/dev/null || fail "no context menu" || return 1
  xdotool key c
  local status=0
  waitForExit 10 || status=$?
  [ $status -eq 0 ] || fail "exit status $status after 閉じる"
}

runTests opensAtThreeQuartersOfTheSheet opensAtFullSizeWithoutSettings \
  opensEmptyWithoutFileAndClosesFromTheMenu
