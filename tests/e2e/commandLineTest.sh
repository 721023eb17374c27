#!/bin/bash
# The command line: a file with "/p" is printed after one print dialog and
# the program ends (status 0) without ever showing the preview; cancelling
# the dialog ends it too, with nothing printed. A quoted Japanese name with
# spaces is one file. A file that cannot be read is reported in a message
# box, and the preview then opens empty, "/p" or not.
source "$(dirname "$0")/lib.sh"

SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt
A4_MM=209.9,297

prepare() {
  OUT=$E2E_OUT/command-line-$1
  rm -rf "$OUT"; mkdir -p "$OUT"
  NAME=$(uniqueName Cmd)
  setSetting "preview scale" REG_DWORD 60
}

sampleText() { iconv -f CP932 -t UTF-8 "$SAMPLE" | withoutSpace; }

# The program's own windows titled "pemoPrint", shown or not.
mainWindows() { xdotool search --name '^pemoPrint$' 2>/dev/null; }

# Runs the program with the arguments given, answers its print dialog with
# the key in $ANSWER, and checks that it ends with status 0 without ever
# mapping a window titled "pemoPrint" (preview or message box).
printAtOnce() {
  startMapWatch
  startProgram "$@"
  local dialog status=0 hidden id
  dialog=$(waitForWindow 印刷 15) || { stopMapWatch; fail "no print dialog"; return 1; }
  # The preview exists by now, hidden.
  hidden=$(mainWindows)
  xdotool windowfocus --sync "$dialog"
  xdotool key "$ANSWER"
  waitForExit 60 || status=$?
  stopMapWatch
  [ $status -eq 0 ] || fail "exit status $status after the print dialog" || return 1
  wasMapped "$dialog" || fail "the watch saw no window mapped, not even the dialog" || return 1
  [ -n "$hidden" ] || fail "no hidden preview window while the dialog was open" || return 1
  for id in $hidden; do
    ! wasMapped "$id" || fail "the window $id titled pemoPrint was shown" || return 1
  done
}

slashPPrintsWithoutShowingThePreview() {
  prepare print
  cp "$SAMPLE" "$OUT/$NAME.txt"
  ANSWER=Return printAtOnce "$(windowsPath "$OUT/$NAME.txt")" /p
  waitForPdf "$NAME" 60 "$OUT/printed.pdf"
  [ "$(pdfPages "$OUT/printed.pdf")" = 3 ] ||
    fail "$(pdfPages "$OUT/printed.pdf") pages printed, the sample has 3" || return 1
  [ "$(pdfPageText "$OUT/printed.pdf")" = "$(sampleText)" ] ||
    fail "the PDF does not hold the sample's text"
}

cancellingTheDialogEndsTheProgram() {
  prepare cancel
  cp "$SAMPLE" "$OUT/$NAME.txt"
  ANSWER=Escape printAtOnce "$(windowsPath "$OUT/$NAME.txt")" /P
  noPdfFor "$NAME" 4
}

# Wine quotes an argument with spaces: the command line is /p "Z:\…\テスト 文書 ….txt".
quotedJapaneseNameWithSpaces() {
  prepare japanese
  mkdir -p "$OUT/日本 語"
  local file="$OUT/日本 語/テスト 文書 $NAME.txt"
  cp "$SAMPLE" "$file"
  ANSWER=Return printAtOnce /p "$(windowsPath "$file")"
  # cups-pdf spells the non-ASCII part of the title in octal: the PDF is
  # found by the ASCII part.
  waitForPdf "$NAME" 60 "$OUT/printed.pdf"
  [ "$(pdfPageText "$OUT/printed.pdf")" = "$(sampleText)" ] ||
    fail "the PDF does not hold the sample's text" || return 1

  # Without "/p" the same name opens in the preview.
  startProgram "$(windowsPath "$file")"
  local window
  window=$(previewWindow) || fail "no preview of the Japanese name" || return 1
  capture "$window" "$OUT/preview.png"
  checkSheet "$window" "$OUT/preview.png" --paper-mm "$A4_MM"
  closeWithEscape "$window"
}

# Reported before the preview is shown; "/p" cannot print what is not there.
missingFileOpensAnEmptyPreview() {
  prepare missing
  local args box window
  for args in "" /p; do
    # shellcheck disable=SC2086
    startProgram "$(windowsPath "$OUT")\\$NAME-missing.txt" $args
    box=$(messageBox 15) || fail "no message box for a missing file (${args:-no option})" || return 1
    for window in $(visibleWindows pemoPrint); do
      ! isBorderless "$window" || fail "the preview was shown before the message" || return 1
    done
    import -window "$box" "$OUT/message${args//\//-}.png"
    pressKey "$box" Return
    window=$(previewWindow) || fail "no preview after the message (${args:-no option})" || return 1
    ! visibleWindows 印刷 | grep -q . || fail "a print dialog opened for a missing file" || return 1
    capture "$window" "$OUT/empty${args//\//-}.png"
    checkSheet "$window" "$OUT/empty${args//\//-}.png" --paper-mm "$A4_MM" --empty
    closeWithEscape "$window"
  done
}

runTests ${ONLY:-slashPPrintsWithoutShowingThePreview cancellingTheDialogEndsTheProgram \
  quotedJapaneseNameWithSpaces missingFileOpensAnEmptyPreview}
