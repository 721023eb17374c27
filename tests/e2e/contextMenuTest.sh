#!/bin/bash
# The context menu: a right click opens it at the pointer, Ctrl+M at the
# window's top-left corner (or the work area's edge when the window reaches
# past it). Without a document its print item is grayed, and neither the
# item nor Ctrl+P opens the print dialog.
source "$(dirname "$0")/lib.sh"

SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt

startMenuTest() {
  OUT=$E2E_OUT/menu-$1
  rm -rf "$OUT"; mkdir -p "$OUT"
  setSetting "preview scale" REG_DWORD 60
  if [ "$2" = document ]; then
    cp "$SAMPLE" "$OUT/$(uniqueName Menu).txt"
    startProgram "$(windowsPath "$OUT"/e2e*.txt)"
  else
    startProgram
  fi
  WINDOW=$(previewWindow) || fail "no preview window" || return 1
}

# The top-left corner of the one open menu.
menuCorner() {
  local menu
  menu=$(waitForMenus 1) || fail "no context menu" || return 1
  windowGeometry "$menu" | cut -d' ' -f1,2
}

# Keeps the pointer on the window, away from a menu at its corner: with the
# pointer off all of the program's windows the menus get no keys.
pointerOnWindow() {
  local x y
  read -r x y _ < <(windowGeometry "$WINDOW")
  movePointer $(( (x < 0 ? 0 : x) + 300 )) $(( (y < 0 ? 0 : y) + 400 ))
}

rightClickAt() {
  xdotool windowfocus --sync "$WINDOW"
  movePointer "$1" "$2"
  xdotool click 3
}

# Drags the sheet by ($1, $2) from a point 300 pixels into the screen's
# part of the window.
dragBy() {
  local x y
  read -r x y _ < <(windowGeometry "$WINDOW")
  x=$(( (x < 0 ? 0 : x) + 300 )); y=$(( (y < 0 ? 0 : y) + 300 ))
  movePointer "$x" "$y"
  xdotool mousedown 1
  movePointer $((x + $1 / 2)) $((y + $2 / 2))
  movePointer $((x + $1)) $((y + $2))
  xdotool mouseup 1
  sleep 0.3
}

opensAtThePointer() {
  startMenuTest pointer document
  local point corner
  for point in "300 400" "150 120" "420 600"; do
    # shellcheck disable=SC2086
    rightClickAt $point
    corner=$(menuCorner) || return 1
    [ "$corner" = "$point" ] || fail "right click at $point opened the menu at $corner" || return 1
    closeMenus
  done
  closeWithEscape "$WINDOW"
}

ctrlMOpensAtTheCorner() {
  startMenuTest corner document
  local corner
  pointerOnWindow
  pressKey "$WINDOW" ctrl+m
  corner=$(menuCorner) || return 1
  [ "$corner" = "0 0" ] || fail "Ctrl+M opened the menu at $corner, not at the window's 0 0" || return 1
  closeMenus

  # Dragging moves the whole sheet; the menu follows its corner.
  dragBy 150 80
  [ "$(windowGeometry "$WINDOW" | cut -d' ' -f1,2)" = "150 80" ] ||
    fail "the drag put the window at $(windowGeometry "$WINDOW")" || return 1
  pointerOnWindow
  pressKey "$WINDOW" ctrl+m
  corner=$(menuCorner) || return 1
  [ "$corner" = "150 80" ] || fail "Ctrl+M opened the menu at $corner, the window is at 150 80" || return 1
  closeMenus

  # Past the work area's left and top edges: the menu opens at the work
  # area's corner. (Here the work area is the whole screen, onto which Wine
  # also moves any menu; the check still sees a menu opened elsewhere.)
  dragBy -250 -200
  [ "$(windowGeometry "$WINDOW" | cut -d' ' -f1,2)" = "-100 -120" ] ||
    fail "the drag put the window at $(windowGeometry "$WINDOW")" || return 1
  pointerOnWindow
  pressKey "$WINDOW" ctrl+m
  corner=$(menuCorner) || return 1
  [ "$corner" = "0 0" ] || fail "Ctrl+M opened the menu at $corner, not at the work area's 0 0" || return 1
  closeMenus
  # Menus and moves store nothing.
  onlyStored "preview scale"
  closeWithEscape "$WINDOW"
}

# Picture of the menu that Ctrl+M opens at the corner, as the screen shows it.
menuPicture() {
  local menu x y w h previous="" current
  pointerOnWindow
  pressKey "$WINDOW" ctrl+m
  menu=$(waitForMenus 1) || fail "no context menu" || return 1
  read -r x y w h < <(windowGeometry "$menu")
  for _ in $(seq 30); do
    sleep 0.1
    import -window root -crop "${w}x$h+$x+$y" +repage "$1"
    current=$(imageHash "$1")
    [ "$current" = "$previous" ] && break
    previous=$current
  done
  closeMenus
}

# The bounding box "W H X Y" of what differs between two pictures.
differenceBox() {
  convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 10% \
    -format '%@\n' info: | sed 's/[x+]/ /g'
}

darkest() { convert "$1" -crop "$2" -colorspace gray -format '%[fx:int(255 * minima)]' info:; }

printItemGrayedWithoutDocument() {
  startMenuTest with-document document
  local pictures=$OUT
  menuPicture "$pictures/with-document.png"
  closeWithEscape "$WINDOW"
  startMenuTest without-document none
  cp "$pictures/with-document.png" "$OUT/"
  menuPicture "$OUT/without-document.png"
  local w h x y band
  read -r w h x y < <(differenceBox "$OUT/with-document.png" "$OUT/without-document.png")
  note "the two menus differ in ${w}x$h+$x+$y"
  # One item, 印刷(&P), differs: a band of one row.
  [ "$w" -gt 20 ] && [ "$h" -gt 4 ] && [ "$h" -lt 25 ] ||
    fail "the menus differ in ${w}x$h, not in one item's row" || return 1
  band="${w}x$h+$x+$y"
  [ "$(darkest "$OUT/with-document.png" "$band")" -lt 60 ] ||
    fail "with a document the differing item is not drawn in black" || return 1
  [ "$(darkest "$OUT/without-document.png" "$band")" -gt 90 ] ||
    fail "without a document the print item is not grayed" || return 1

  # Neither the grayed item nor the accelerator prints anything.
  pointerOnWindow
  pressKey "$WINDOW" ctrl+m
  waitForMenus 1 >/dev/null || fail "no context menu" || return 1
  xdotool key p
  ! waitForWindow 印刷 2 >/dev/null || fail "the grayed print item opened the print dialog" || return 1
  closeMenus
  pressKey "$WINDOW" ctrl+p
  ! waitForWindow 印刷 2 >/dev/null || fail "Ctrl+P without a document opened the print dialog" || return 1
  programRunning || fail "the program ended" || return 1
  closeWithEscape "$WINDOW"
}

runTests ${ONLY:-opensAtThePointer ctrlMOpensAtTheCorner printItemGrayedWithoutDocument}
