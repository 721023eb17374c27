#!/bin/bash
# The font dialog (フォント from the context menu): confirming stores
# "logfont" and "point size", redraws the preview in the new size, keeps
# the window's size, and the next start shows the same; cancelling stores
# nothing, changes nothing and forgets what was typed into the dialog.
source "$(dirname "$0")/lib.sh"

# Five pages at the default 10 pt.
SAMPLE=$PEMO_ROOT/tests/samples/paging.txt
FONT_DIALOG=フォントの指定
# "ＭＳ ゴシック" in code page 932, the default face.
DEFAULT_FACE_HEX=826C827220835383568362834E

startFontTest() {
  OUT=$E2E_OUT/font-$1
  mkdir -p "$OUT"
  cp "$SAMPLE" "$OUT/$(uniqueName Font).txt"
  startProgram "$(windowsPath "$(ls "$OUT"/e2e*.txt | head -1)")"
  WINDOW=$(previewWindow) || fail "no preview window" || return 1
}

openFontDialog() {
  openFromContextMenu f "$FONT_DIALOG" || fail "no font dialog"
}

# Types $2 into the size box of font dialog $1.
typeSize() {
  xdotool windowfocus --sync "$1"
  xdotool key alt+y Tab   # スタイル(&Y), then the size box after it
  xdotool type "$2"
  sleep 0.3
}

closeDialog() {
  xdotool windowfocus --sync "$1"
  xdotool key "$2"
  for _ in $(seq 50); do
    visibleWindows "$FONT_DIALOG" | grep -qx "$1" || return 0
    sleep 0.1
  done
  fail "the font dialog stayed open after $2"
}

confirmedFontIsStoredAndKept() {
  rm -rf "$E2E_OUT"/font-confirm*
  setSetting "preview scale" REG_DWORD 60
  startFontTest confirm
  capture "$WINDOW" "$OUT/10pt.png"
  local dialog logfont
  dialog=$(openFontDialog) || return 1
  typeSize "$dialog" 14
  import -window "$dialog" "$OUT/dialog.png"
  closeDialog "$dialog" Return
  sleep 0.5
  [ "$(storedSetting "point size")" = "REG_DWORD 0x8c" ] ||
    fail "point size stored as '$(storedSetting "point size")', expected 140" || return 1
  logfont=$(storedSetting logfont)
  note "logfont $logfont"
  # 60 bytes: five int32, eight bytes, then the face name at byte 28.
  [ "${logfont%% *}" = REG_BINARY ] && [ ${#logfont} -eq $((11 + 120)) ] ||
    fail "logfont is not a 60-byte binary value" || return 1
  [ "${logfont:$((11 + 56)):${#DEFAULT_FACE_HEX}}" = "$DEFAULT_FACE_HEX" ] ||
    fail "logfont does not name ＭＳ ゴシック" || return 1
  [ "${logfont:$((11 + 46)):2}" = 80 ] || fail "logfont's character set is not SHIFTJIS_CHARSET" || return 1
  [ "$(windowSize "$WINDOW")" = 474x673 ] || fail "the font changed the window to $(windowSize "$WINDOW")" || return 1
  capture "$WINDOW" "$OUT/14pt.png"
  [ "$(imageHash "$OUT/14pt.png")" != "$(imageHash "$OUT/10pt.png")" ] ||
    fail "the preview did not change with the font" || return 1
  checkSheet "$WINDOW" "$OUT/14pt.png" --paper-mm 209.9,297
  # The printer has the new font too: the same text on more pages.
  local name pages
  name=$(basename "$(ls "$OUT"/e2e*.txt | head -1)" .txt)
  pressKey "$WINDOW" ctrl+p
  dialog=$(waitForWindow 印刷 10) || fail "no print dialog" || return 1
  xdotool windowfocus --sync "$dialog"
  xdotool key Return
  waitForPdf "$name" 60 "$OUT/printed.pdf"
  pages=$(pdfPages "$OUT/printed.pdf")
  note "printed $pages pages at 14 pt"
  [ "$pages" -gt 5 ] || fail "$pages pages at 14 pt, no more than the 5 at 10 pt" || return 1
  [ "$(pdfPageText "$OUT/printed.pdf")" = "$(iconv -f CP932 -t UTF-8 "$SAMPLE" | withoutSpace)" ] ||
    fail "the PDF at 14 pt does not hold the sample's text" || return 1
  closeWithEscape "$WINDOW"

  startFontTest confirm-again
  capture "$WINDOW" "$OUT/next-start.png"
  [ "$(imageHash "$OUT/next-start.png")" = "$(imageHash "$E2E_OUT/font-confirm/14pt.png")" ] ||
    fail "the next start does not show the stored font" || return 1
  closeWithEscape "$WINDOW"
}

cancelledFontChangesNothing() {
  rm -rf "$E2E_OUT"/font-cancel
  setSetting "preview scale" REG_DWORD 60
  startFontTest cancel
  capture "$WINDOW" "$OUT/before.png"
  local dialog
  dialog=$(openFontDialog) || return 1
  typeSize "$dialog" 20
  closeDialog "$dialog" Escape
  sleep 0.5
  [ -z "$(storedSetting logfont)$(storedSetting "point size")" ] ||
    fail "a cancelled font dialog stored: $(storedSettings | tr '\t\n' ' ;')" || return 1
  capture "$WINDOW" "$OUT/after.png"
  [ "$(imageHash "$OUT/after.png")" = "$(imageHash "$OUT/before.png")" ] ||
    fail "the preview changed after Cancel" || return 1
  [ "$(windowSize "$WINDOW")" = 474x673 ] || fail "the window is $(windowSize "$WINDOW")" || return 1
  # The 20 typed before cancelling is forgotten: the next dialog offers 10 pt.
  dialog=$(openFontDialog) || return 1
  closeDialog "$dialog" Return
  sleep 0.5
  [ "$(storedSetting "point size")" = "REG_DWORD 0x64" ] ||
    fail "after a cancelled 20 pt, OK stored '$(storedSetting "point size")', not 10 pt" || return 1
  capture "$WINDOW" "$OUT/ok-unchanged.png"
  [ "$(imageHash "$OUT/ok-unchanged.png")" = "$(imageHash "$OUT/before.png")" ] ||
    fail "confirming the unchanged font changed the preview" || return 1
  closeWithEscape "$WINDOW"
}

runTests ${ONLY:-confirmedFontIsStoredAndKept cancelledFontChangesNothing}
