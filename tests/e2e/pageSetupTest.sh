#!/bin/bash
# Page setup from the context menu (ページ設定): landscape turns the window
# wide at once, the chosen margins move the text area, both are stored
# ("margin", "orientation") and come back at the next start, where printing
# is landscape too. A cancelled dialog changes and stores nothing.
source "$(dirname "$0")/lib.sh"

SAMPLE=$PEMO_ROOT/tests/samples/paging.txt

startSetupTest() {
  OUT=$E2E_OUT/page-setup-$1
  mkdir -p "$OUT"
  NAME=$(uniqueName Setup)
  cp "$SAMPLE" "$OUT/$NAME.txt"
  startProgram "$(windowsPath "$OUT/$NAME.txt")"
  WINDOW=$(previewWindow) || fail "no preview window" || return 1
}

openPageSetup() {
  openFromContextMenu u ページ設定 || fail "no page setup dialog"
}

closeDialog() {
  xdotool windowfocus --sync "$1"
  xdotool key "$2"
  for _ in $(seq 50); do
    visibleWindows ページ設定 | grep -qx "$1" || return 0
    sleep 0.1
  done
  fail "the page setup dialog stayed open after $2"
}

# Margins are four int32 in hundredths of a millimetre, little-endian.
marginValue() {
  local hex="" m
  for m in "$@"; do hex+=$(printf '%08X' "$m" | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/'); done
  echo "REG_BINARY $hex"
}

landscapeIsStoredAndRestored() {
  rm -rf "$E2E_OUT"/page-setup-landscape*
  setSetting "preview scale" REG_DWORD 60
  startSetupTest landscape
  [ "$(windowSize "$WINDOW")" = 474x673 ] || fail "portrait window is $(windowSize "$WINDOW")" || return 1
  local dialog
  dialog=$(openPageSetup) || return 1
  xdotool windowfocus --sync "$dialog"
  xdotool key alt+l      # 横(&L)
  xdotool key alt+e      # 左(&E): the left margin, selected
  xdotool type 30
  sleep 0.3
  import -window "$dialog" "$OUT/dialog.png"
  closeDialog "$dialog" Return
  # 1123 x 790 at 60 %.
  waitForSize "$WINDOW" 673x474
  [ "$(windowGeometry "$WINDOW" | cut -d' ' -f1,2)" = "0 0" ] || fail "the window moved" || return 1
  [ "$(storedSetting orientation)" = "REG_BINARY 0200" ] ||
    fail "orientation stored as '$(storedSetting orientation)'" || return 1
  [ "$(storedSetting margin)" = "$(marginValue 3000 2000 2000 2000)" ] ||
    fail "margins stored as '$(storedSetting margin)'" || return 1
  capture "$WINDOW" "$OUT/landscape.png"
  checkSheet "$WINDOW" "$OUT/landscape.png" --paper-mm 297,209.9 --margins-mm 30,20,20,20
  closeWithEscape "$WINDOW"

  # The next start has the wide sheet with those margins, on screen and paper.
  startSetupTest landscape-again
  [ "$(windowGeometry "$WINDOW")" = "0 0 673 474" ] ||
    fail "the next start is at $(windowGeometry "$WINDOW"), not 673x474 at 0,0" || return 1
  capture "$WINDOW" "$OUT/again.png"
  checkSheet "$WINDOW" "$OUT/again.png" --paper-mm 297,209.9 --margins-mm 30,20,20,20
  # The dialog opens on the stored choice: OK alone keeps it.
  dialog=$(openPageSetup) || return 1
  import -window "$dialog" "$OUT/dialog-again.png"
  closeDialog "$dialog" Return
  sleep 0.5
  [ "$(windowSize "$WINDOW")" = 673x474 ] ||
    fail "OK in the reopened dialog made the window $(windowSize "$WINDOW")" || return 1
  [ "$(storedSetting orientation)" = "REG_BINARY 0200" ] ||
    fail "OK in the reopened dialog stored orientation '$(storedSetting orientation)'" || return 1
  [ "$(storedSetting margin)" = "$(marginValue 3000 2000 2000 2000)" ] ||
    fail "OK in the reopened dialog stored margins '$(storedSetting margin)'" || return 1
  pressKey "$WINDOW" ctrl+p
  dialog=$(waitForWindow 印刷 10) || fail "no print dialog" || return 1
  xdotool windowfocus --sync "$dialog"
  xdotool key Return
  waitForPdf "$NAME" 60 "$OUT/printed.pdf"
  pdfinfo "$OUT/printed.pdf" | grep -E '^(Page size|Page rot)' | sed 's/^/  /'
  pdfinfo "$OUT/printed.pdf" | awk '
    /^Page size:/ { w = $3; h = $5 } /^Page rot:/ { r = $3 }
    END { if (r == 90 || r == 270) { t = w; w = h; h = t } exit !(w > h) }' ||
    fail "the pages were not printed landscape" || return 1
  [ "$(windowSize "$WINDOW")" = 673x474 ] || fail "after printing the window is $(windowSize "$WINDOW")" || return 1
  onlyStored "preview scale" margin orientation
  closeWithEscape "$WINDOW"
}

cancelledSetupStoresNothing() {
  rm -rf "$E2E_OUT"/page-setup-cancel
  setSetting "preview scale" REG_DWORD 60
  startSetupTest cancel
  capture "$WINDOW" "$OUT/before.png"
  local dialog
  dialog=$(openPageSetup) || return 1
  xdotool windowfocus --sync "$dialog"
  xdotool key alt+l
  xdotool key alt+e
  xdotool type 45
  closeDialog "$dialog" Escape
  sleep 0.5
  [ "$(windowSize "$WINDOW")" = 474x673 ] || fail "the window is $(windowSize "$WINDOW") after Cancel" || return 1
  [ -z "$(storedSetting margin)$(storedSetting orientation)" ] ||
    fail "a cancelled page setup stored: $(storedSettings | tr '\t\n' ' ;')" || return 1
  capture "$WINDOW" "$OUT/after.png"
  [ "$(imageHash "$OUT/before.png")" = "$(imageHash "$OUT/after.png")" ] ||
    fail "the preview changed after Cancel" || return 1
  closeWithEscape "$WINDOW"
}

runTests ${ONLY:-landscapeIsStoredAndRestored cancelledSetupStoresNothing}
