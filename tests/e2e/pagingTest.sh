#!/bin/bash
# Turning pages in the preview: Page Down, Page Up, Home, End and the mouse
# wheel show another page, one page per key or notch, and do nothing at the
# ends of the document or without a document. Pages are told apart by
# screenshots of the whole sheet (at 60 % it fits on the screen).
source "$(dirname "$0")/lib.sh"

# Five pages at the PDF printer's grid: a cover that ends in a form feed
# and four of prose.
SAMPLE=$PEMO_ROOT/tests/samples/paging.txt
A4_MM=209.9,297

startOnSample() {
  OUT=$E2E_OUT/paging-$1
  rm -rf "$OUT"; mkdir -p "$OUT"
  setSetting "preview scale" REG_DWORD 60
  if [ "$1" = empty ]; then
    startProgram
  else
    cp "$SAMPLE" "$OUT/$(uniqueName Paging).txt"
    startProgram "$(windowsPath "$OUT"/e2e*.txt)"
  fi
  WINDOW=$(previewWindow) || fail "no preview window" || return 1
  [ "$(windowSize "$WINDOW")" = 474x673 ] || fail "window is $(windowSize "$WINDOW")"
}

# The hash of the sheet as shown now, after the input $1 (a key, or "wheel
# up|down" with optional modifiers); the screenshot is kept as $OUT/$2.png.
after() {
  local input=$1 name=$2
  case "$input" in
    "") ;;
    wheel*) # shellcheck disable=SC2086
            wheel "$WINDOW" ${input#wheel } ;;
    *) pressKey "$WINDOW" "$input" ;;
  esac
  capture "$WINDOW" "$OUT/$name.png" >&2 || return 1
  imageHash "$OUT/$name.png"
}

# expect NAME HASH WANTED: the page shown is the one wanted.
expect() {
  [ "$2" = "$3" ] || fail "$1 shows another page than expected (see $OUT)"
}

pageKeysTurnOnePageAndStopAtTheEnds() {
  startOnSample keys
  local p1 p2 p3 p4 p5 h
  p1=$(after "" page1)
  checkSheet "$WINDOW" "$OUT/page1.png" --paper-mm "$A4_MM"
  p2=$(after Next page2)
  p3=$(after Next page3)
  p4=$(after Next page4)
  p5=$(after Next page5)
  [ "$(printf '%s\n' "$p1" "$p2" "$p3" "$p4" "$p5" | sort -u | wc -l)" -eq 5 ] ||
    fail "Page Down did not show five different pages" || return 1
  checkSheet "$WINDOW" "$OUT/page5.png" --paper-mm "$A4_MM"
  h=$(after Next past-end);   expect "Page Down on the last page" "$h" "$p5"
  h=$(after End end-on-end);  expect "End on the last page" "$h" "$p5"
  h=$(after Prior back-to-4); expect "Page Up from page 5" "$h" "$p4"
  h=$(after Home home);       expect "Home" "$h" "$p1"
  h=$(after Prior before-1);  expect "Page Up on the first page" "$h" "$p1"
  h=$(after Home home-again); expect "Home on the first page" "$h" "$p1"
  h=$(after End end);         expect "End" "$h" "$p5"
  # Other keys leave the page alone.
  h=$(after Down arrow-down); expect "the down arrow" "$h" "$p5"
  h=$(after Home home-last);  expect "Home after End" "$h" "$p1"
  h=$(after space space);     expect "the space bar" "$h" "$p1"
  # Turning pages stores nothing.
  onlyStored "preview scale"
  closeWithEscape "$WINDOW"
}

wheelTurnsOnePagePerNotch() {
  startOnSample wheel
  local p1 p2 p3 p5 h
  p1=$(after "" page1)
  p2=$(after "wheel down" wheel-down-1)
  [ "$p2" != "$p1" ] || fail "a notch down did not turn the page" || return 1
  p3=$(after "wheel down" wheel-down-2)
  [ "$p3" != "$p2" ] && [ "$p3" != "$p1" ] || fail "a second notch down did not turn the page" || return 1
  h=$(after Prior key-up);       expect "Page Up after two notches" "$h" "$p2"
  h=$(after "wheel up" wheel-up); expect "a notch up" "$h" "$p1"
  h=$(after "wheel up" wheel-up-on-first); expect "a notch up on the first page" "$h" "$p1"
  p5=$(after End end)
  h=$(after "wheel down" wheel-down-on-last); expect "a notch down on the last page" "$h" "$p5"
  closeWithEscape "$WINDOW"
}

# Without a document there is one empty sheet and nothing to turn.
nothingTurnsWithoutDocument() {
  startOnSample empty
  local first h input n=0
  first=$(after "" first)
  checkSheet "$WINDOW" "$OUT/first.png" --paper-mm "$A4_MM" --empty
  for input in Next Prior End Home "wheel down" "wheel up"; do
    n=$((n + 1))
    h=$(after "$input" "input-$n"); expect "$input without a document" "$h" "$first"
  done
  closeWithEscape "$WINDOW"
}

runTests pageKeysTurnOnePageAndStopAtTheEnds wheelTurnsOnePagePerNotch nothingTurnsWithoutDocument
