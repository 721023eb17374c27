#!/bin/bash
# Zoom: the context menu's ズーム submenu and Ctrl with the wheel resize the
# window to the sheet at the new scale, keep its top-left corner and store
# "preview scale"; Shift with the wheel does nothing at all.
source "$(dirname "$0")/lib.sh"

SAMPLE=$PEMO_ROOT/tests/samples/paging.txt

# Window sizes of the A4 sheet (790 x 1123 at 100 %), truncated.
declare -A SHEET=([200]=1580x2246 [150]=1185x1684 [100]=790x1123 [80]=632x898
                  [75]=592x842 [60]=474x673)

startZoomTest() {
  OUT=$E2E_OUT/zoom-$1
  rm -rf "$OUT"; mkdir -p "$OUT"
  cp "$SAMPLE" "$OUT/$(uniqueName Zoom).txt"
  startProgram "$(windowsPath "$OUT"/e2e*.txt)"
  WINDOW=$(previewWindow) || fail "no preview window" || return 1
}

storedScale() {
  local value; value=$(storedSetting "preview scale")
  [ -n "$value" ] && echo $(("${value#REG_DWORD }")) || echo none
}

# expectScale PERCENT: the window is the sheet at that scale, at the corner
# it had, and the scale is stored.
expectScale() {
  waitForSize "$WINDOW" "${SHEET[$1]}" || return 1
  for _ in $(seq 20); do
    [ "$(storedScale)" = "$1" ] && break
    sleep 0.1
  done
  [ "$(storedScale)" = "$1" ] || fail "stored scale $(storedScale), expected $1" || return 1
  [ "$(windowGeometry "$WINDOW" | cut -d' ' -f1,2)" = "${CORNER:-0 0}" ] ||
    fail "the window moved to $(windowGeometry "$WINDOW"), its corner was ${CORNER:-0 0}"
}

forgetStoredScale() {
  wine reg delete "$SETTINGS_KEY" /v "preview scale" /f >/dev/null 2>&1 || true
}

# Opens the ズーム submenu from a right click at the window's point (100,100)
# and prints the submenu's id.
openZoomMenu() {
  local x y
  read -r x y _ < <(windowGeometry "$WINDOW")
  # After a menu closes the keyboard goes back to the root window.
  xdotool windowfocus --sync "$WINDOW"
  movePointer $((x + 100)) $((y + 100))
  xdotool click 3
  waitForMenus 1 >/dev/null || fail "no context menu after a right click" || return 1
  xdotool key z
  waitForMenus 2 | tail -1 | grep . || fail "no ズーム submenu" || return 1
}

# Chooses a zoom item by its mnemonic: 2 (200 %), 5 (150 %), 1 (100 %),
# 8 (80 %) or 6 (60 %).
zoomFromMenu() {
  openZoomMenu >/dev/null || return 1
  xdotool key "$1"
  waitForMenus 0 >/dev/null || fail "the menu stayed open"
}

# Which of the submenu's five items carries the radio mark, counted from 0:
# the rows of dark pixels in the left gutter, "none" when there is none.
markedZoomItem() {
  local menu=$1 x y w h previous="" current
  read -r x y w h < <(windowGeometry "$menu")
  # What the screen shows where the submenu is, once it is drawn: its
  # labels are there and two looks agree. The pointer stays on the main
  # window: without a window manager the keyboard follows it, and the menus
  # would lose their keys.
  local drawn=0
  for _ in $(seq 30); do
    sleep 0.1
    import -window root -crop "${w}x$h+$x+$y" +repage "$OUT/zoom-menu.png"
    current=$(imageHash "$OUT/zoom-menu.png")
    if [ "$current" = "$previous" ] &&
       [ "$(convert "$OUT/zoom-menu.png" -format '%[fx:minima < 0.3]' info:)" = 1 ]; then
      drawn=1; break
    fi
    previous=$current
  done
  [ $drawn -eq 1 ] || { echo "unreadable (the submenu was not drawn)"; return 0; }
  convert "$OUT/zoom-menu.png" -crop "16x$h+0+0" -colorspace gray -depth 8 txt:- |
    awk -F'[,:() ]+' -v h="$h" '/^[0-9]/ && $3 < 100 {
        seen[int(($2 - 3) * 5 / (h - 6))] = 1 }
      END { n = 0; for (i in seen) { printf "%s%s", (n++ ? " " : ""), i } if (!n) printf "none"; print "" }'
}

zoomMenuResizesAndStores() {
  startZoomTest menu
  local menu
  menu=$(openZoomMenu) || return 1
  [ "$(markedZoomItem "$menu")" = 2 ] || fail "at 100 % the mark is on item $(markedZoomItem "$menu")" || return 1
  closeMenus
  [ "$(storedScale)" = none ] || fail "opening the menu stored a scale" || return 1
  zoomFromMenu 6; expectScale 60
  zoomFromMenu 2; expectScale 200
  zoomFromMenu 5; expectScale 150
  # The sheet is drawn anew at the new scale (cut at the screen's bottom).
  capture "$WINDOW" "$OUT/150.png"
  checkSheet "$WINDOW" "$OUT/150.png" --paper-mm 209.9,297
  zoomFromMenu 8; expectScale 80
  capture "$WINDOW" "$OUT/80.png"
  checkSheet "$WINDOW" "$OUT/80.png" --paper-mm 209.9,297
  menu=$(openZoomMenu) || return 1
  [ "$(markedZoomItem "$menu")" = 3 ] || fail "at 80 % the mark is on item $(markedZoomItem "$menu")" || return 1
  xdotool key 1
  expectScale 100
  # The same scale again is stored again.
  forgetStoredScale
  zoomFromMenu 1; expectScale 100
  closeWithEscape "$WINDOW"
}

ctrlWheelStepsThroughTheScales() {
  startZoomTest wheel
  # Dragged away from the corner first: zooming keeps the window's corner.
  movePointer 100 100
  xdotool mousedown 1; movePointer 150 130; movePointer 220 150; xdotool mouseup 1
  CORNER="120 50"
  for _ in $(seq 20); do [ "$(windowGeometry "$WINDOW" | cut -d' ' -f1,2)" = "$CORNER" ] && break; sleep 0.1; done
  [ "$(windowGeometry "$WINDOW" | cut -d' ' -f1,2)" = "$CORNER" ] ||
    fail "dragging moved the window to $(windowGeometry "$WINDOW")" || return 1
  local step
  for step in up:150 up:200 up:200 down:150 down:100 down:80 down:60 down:60 up:80 up:100; do
    forgetStoredScale
    wheel "$WINDOW" "${step%:*}" ctrl
    expectScale "${step#*:}" || fail "ctrl+wheel ${step%:*} should give ${step#*:} %" || return 1
  done
  closeWithEscape "$WINDOW"
}

# A stored scale the menu does not offer (75) marks no item; Ctrl and the
# wheel go to 80 % away from the user and to 60 % towards.
oddStoredScale() {
  setSetting "preview scale" REG_DWORD 75
  startZoomTest odd
  waitForSize "$WINDOW" "${SHEET[75]}"
  local menu
  menu=$(openZoomMenu) || return 1
  [ "$(markedZoomItem "$menu")" = none ] || fail "at 75 % item $(markedZoomItem "$menu") is marked" || return 1
  closeMenus
  wheel "$WINDOW" up ctrl
  expectScale 80
  closeWithEscape "$WINDOW"

  setSetting "preview scale" REG_DWORD 75
  startZoomTest odd-down
  waitForSize "$WINDOW" "${SHEET[75]}"
  wheel "$WINDOW" down ctrl
  expectScale 60
  closeWithEscape "$WINDOW"
}

shiftWheelDoesNothing() {
  setSetting "preview scale" REG_DWORD 60
  startZoomTest shift
  forgetStoredScale
  capture "$WINDOW" "$OUT/before.png"
  local modifiers direction n=0
  for modifiers in shift ctrl+shift; do
    for direction in down up down; do
      n=$((n + 1))
      wheel "$WINDOW" "$direction" "$modifiers"
      capture "$WINDOW" "$OUT/after-$n.png"
      [ "$(imageHash "$OUT/after-$n.png")" = "$(imageHash "$OUT/before.png")" ] ||
        fail "$modifiers+wheel $direction changed the picture" || return 1
      [ "$(windowSize "$WINDOW")" = "${SHEET[60]}" ] ||
        fail "$modifiers+wheel $direction resized the window" || return 1
    done
  done
  [ "$(storedScale)" = none ] || fail "Shift+wheel stored a scale of $(storedScale)" || return 1
  # The same notch without Shift does turn the page: the check above could fail.
  wheel "$WINDOW" down
  capture "$WINDOW" "$OUT/plain.png"
  [ "$(imageHash "$OUT/plain.png")" != "$(imageHash "$OUT/before.png")" ] ||
    fail "a plain notch did not turn the page either" || return 1
  closeWithEscape "$WINDOW"
}

runTests ${ONLY:-zoomMenuResizesAndStores ctrlWheelStepsThroughTheScales oddStoredScale shiftWheelDoesNothing}
