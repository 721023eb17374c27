#!/bin/bash
# Printing from the preview: Ctrl+P opens the print dialog, Return prints on
# the default PDF printer, and the PDF read back holds the document's text,
# page 1 ending at the form feed. The dialog's own range starts at the page
# on screen; a cancelled dialog prints nothing.
source "$(dirname "$0")/lib.sh"

SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt

startPrintTest() {
  OUT=$E2E_OUT/print-$1
  rm -rf "$OUT"; mkdir -p "$OUT"
  NAME=$(uniqueName Print)
  cp "$SAMPLE" "$OUT/$NAME.txt"
  setSetting "preview scale" REG_DWORD 60
  startProgram "$(windowsPath "$OUT/$NAME.txt")"
  WINDOW=$(previewWindow) || fail "no preview window" || return 1
}

# The sample's text without white space: all of it, or the part before the
# first form feed (page 1) or after it.
sampleText() {
  local text; text=$(iconv -f CP932 -t UTF-8 "$SAMPLE")
  case "$1" in
    first) text=${text%%$'\f'*} ;;
    rest) text=${text#*$'\f'} ;;
  esac
  printf '%s' "$text" | withoutSpace
}

# Opens the print dialog with Ctrl+P; prints its id.
openPrintDialog() {
  pressKey "$WINDOW" ctrl+p
  # Right after a job the focus may still be on its way back to the
  # preview: a key that went nowhere is pressed once more.
  waitForWindow 印刷 5 && return 0
  pressKey "$WINDOW" ctrl+p
  waitForWindow 印刷 10 || fail "Ctrl+P opened no print dialog"
}

answerDialog() {
  xdotool windowfocus --sync "$1"
  xdotool key "$2"
  for _ in $(seq 100); do
    xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
    visibleWindows 印刷 | grep -qx "$1" || return 0
    sleep 0.1
  done
  fail "the print dialog stayed open after $2"
}

ctrlPPrintsTheDocument() {
  startPrintTest all
  local dialog pages
  dialog=$(openPrintDialog) || return 1
  answerDialog "$dialog" Return
  waitForPdf "$NAME" 60 "$OUT/printed.pdf"
  pages=$(pdfPages "$OUT/printed.pdf")
  note "printed $pages pages"
  [ "$pages" = 3 ] || fail "$pages pages printed, the sample has 3 at this grid" || return 1
  [ "$(pdfPageText "$OUT/printed.pdf" 1)" = "$(sampleText first)" ] ||
    fail "page 1 is not the sample's text up to the form feed" || return 1
  [ "$(pdfPageText "$OUT/printed.pdf")" = "$(sampleText all)" ] ||
    fail "the PDF does not hold exactly the sample's text" || return 1
  # The preview goes on, at its size.
  [ "$(windowSize "$WINDOW")" = 474x673 ] || fail "printing resized the window to $(windowSize "$WINDOW")"
  programRunning || fail "the program ended after printing" || return 1
  # Printing stores nothing.
  onlyStored "preview scale"
  closeWithEscape "$WINDOW"
}

# On page 2, the dialog's page range is 2 to 2: choosing it prints page 2.
# The sample's pages 2 and 3 follow its form feed.
rangeIsThePageOnScreen() {
  startPrintTest range
  pressKey "$WINDOW" Next
  local dialog text
  dialog=$(openPrintDialog) || return 1
  xdotool windowfocus --sync "$dialog"
  xdotool key alt+g   # 指定(&G): the range field
  sleep 0.3
  import -window "$dialog" "$OUT/dialog.png"
  answerDialog "$dialog" Return
  waitForPdf "$NAME" 60 "$OUT/printed.pdf"
  [ "$(pdfPages "$OUT/printed.pdf")" = 1 ] ||
    fail "$(pdfPages "$OUT/printed.pdf") pages printed for the range of the page on screen" || return 1
  text=$(pdfPageText "$OUT/printed.pdf" 1)
  [ -n "$text" ] && [[ "$(sampleText rest)" == "$text"* ]] ||
    fail "the page printed is not page 2 (see $OUT/printed.pdf)" || return 1

  # The dialog keeps its choice of a range; the range follows the page on
  # screen: Return alone on page 3 prints page 3.
  pressKey "$WINDOW" Next
  dialog=$(openPrintDialog) || return 1
  answerDialog "$dialog" Return
  waitForPdf "$NAME" 60 "$OUT/printed-again.pdf"
  [ "$(pdfPages "$OUT/printed-again.pdf")" = 1 ] ||
    fail "$(pdfPages "$OUT/printed-again.pdf") pages printed when the range was kept" || return 1
  local rest; rest=$(sampleText rest)
  [ "$(pdfPageText "$OUT/printed-again.pdf" 1)" = "${rest#"$text"}" ] ||
    fail "the page printed is not page 3 (see $OUT/printed-again.pdf)" || return 1
  closeWithEscape "$WINDOW"
}

cancelledDialogPrintsNothing() {
  startPrintTest cancel
  capture "$WINDOW" "$OUT/before.png"
  local dialog
  dialog=$(openPrintDialog) || return 1
  answerDialog "$dialog" Escape
  noPdfFor "$NAME" 4
  programRunning || fail "the program ended" || return 1
  capture "$WINDOW" "$OUT/after.png"
  [ "$(imageHash "$OUT/before.png")" = "$(imageHash "$OUT/after.png")" ] ||
    fail "the preview changed after a cancelled print dialog" || return 1
  closeWithEscape "$WINDOW"
}

runTests ${ONLY:-ctrlPPrintsTheDocument rangeIsThePageOnScreen cancelledDialogPrintsNothing}
