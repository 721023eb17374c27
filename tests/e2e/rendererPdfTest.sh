#!/bin/bash
# The page renderer on paper: renderProbe prints a Japanese sample through
# the real CUPS PDF printer, and the text that poppler reads back from each
# page must be the rows that the engine (pemo-layout) puts on that page, in
# order. The PDFs stay in build/e2e/ for inspection.
source "$(dirname "$0")/lib.sh"

PROBE=${PROBE_EXE:-$PEMO_BUILD/win32/renderProbe.exe}
LAYOUT_TOOL=$PEMO_BUILD/native/pemo-layout
SAMPLE=$PEMO_ROOT/tests/samples/renderer.txt
HELPER=$(dirname "$0")/pageRows.py

# Prints the sample on queue $1 with the probe options in $2 as document $3;
# leaves the probe's report in $OUT/probe.txt and moves the PDF to $OUT.pdf.
printSample() {
  local queue=$1 options=$2 name=$3 pdf=""
  rm -f "$PDF_DIR/$name"*.pdf "$OUT.pdf"
  rm -rf "$OUT"; mkdir -p "$OUT"
  # shellcheck disable=SC2086
  timeout 30 wine "$PROBE" $options print "$queue" "Z:$SAMPLE" "$name" \
    >"$OUT/probe.txt" 2>"$OUT/probe.log" || fail "probe failed ($?): $(cat "$OUT/probe.log")" || return 1
  # cups-pdf creates the file before Ghostscript has finished writing it.
  for _ in $(seq 300); do
    pdf=$(ls "$PDF_DIR/$name"*.pdf 2>/dev/null | head -1)
    if [ -n "$pdf" ] && [ -z "$(LC_ALL=C lpstat -o "$queue" 2>/dev/null)" ] &&
       pdfinfo "$pdf" >/dev/null 2>&1; then
      mv "$pdf" "$OUT.pdf"
      return 0
    fi
    sleep 0.1
  done
  fail "no finished PDF for $name in $PDF_DIR"
}

gridValue() { sed -n "s/^grid .*\\b$1=\\([0-9]*\\).*/\\1/p" "$OUT/probe.txt"; }

# Compares every printed page with the engine's rows for the probe's grid;
# $1 are pemo-layout's options beside the grid.
comparePages() {
  local layoutOptions=$1 columns rows pages printed
  columns=$(gridValue columns); rows=$(gridValue rows); pages=$(gridValue pages)
  [ -n "$columns" ] && [ -n "$rows" ] && [ -n "$pages" ] || fail "no grid: $(cat "$OUT/probe.txt")" || return 1
  printed=$(pdfinfo "$OUT.pdf" | sed -n 's/^Pages: *//p')
  echo "  $(head -1 "$OUT/probe.txt"), printed $printed pages"
  [ "$printed" = "$pages" ] || fail "$printed pages printed, the probe paginated $pages" || return 1
  # shellcheck disable=SC2086
  "$LAYOUT_TOOL" $layoutOptions --columns "$columns" --rows "$rows" "$SAMPLE" >"$OUT/layout.txt" ||
    fail "pemo-layout failed" || return 1
  python3 "$HELPER" expected "$SAMPLE" "$OUT/layout.txt" "$OUT" --columns "$columns" >"$OUT/expected.txt" ||
    fail "cannot compute the expected rows" || return 1
  grep -q "^pages=$pages " "$OUT/expected.txt" ||
    fail "pemo-layout gives $(cat "$OUT/expected.txt"), the probe $pages pages" || return 1
  local page different=0
  for page in $(seq "$pages"); do
    pdftotext -layout -f "$page" -l "$page" "$OUT.pdf" "$OUT/printed-$page.raw" ||
      fail "pdftotext failed on page $page" || return 1
    python3 "$HELPER" normalize "$OUT/printed-$page.raw" "$OUT/printed-$page.txt"
    [ -s "$OUT/page-$page.txt" ] || fail "page $page has no text in the layout" || return 1
    if ! diff -u "$OUT/page-$page.txt" "$OUT/printed-$page.txt" >"$OUT/diff-$page.txt"; then
      echo "  page $page differs from the layout (- layout, + printed):"
      head -20 "$OUT/diff-$page.txt" | sed 's/^/    /'
      different=1
    fi
  done
  [ $different -eq 0 ] || fail "printed text differs from the layout"
}

# The top-left corner of page 1's text, in points from the sheet's corner:
# the smallest word box that poppler finds.
textCorner() {
  pdftotext -bbox -f 1 -l 1 "$OUT.pdf" - |
    sed -n 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*/\1 \2/p' |
    awk 'NR == 1 || $1 < x { x = $1 } NR == 1 || $2 < y { y = $2 } END { print x, y }'
}

# The text area starts 20 mm = 56.7 pt from the left and top edges; a glyph
# box starts at its cell's left edge and a little below the row's top.
startsAtTheMargins() {
  local corner; corner=$(textCorner)
  echo "  page 1 text starts at $corner pt"
  echo "$corner" | awk '{ exit !($1 >= 56.0 && $1 <= 58.0 && $2 >= 56.0 && $2 <= 62.0) }' ||
    fail "page 1's text starts at $corner pt, not at the 20 mm margins"
}

# The sample's row "a⇥b⇥cd⇥efg⇥hijk⇥タブ位置の確認" with tab stops every 4
# columns: each word must start at its column, 21 printer pixels (5.04 pt)
# a cell, as the tabs leave no mark but move the next character on.
tabStopsLandOnTheirColumns() {
  local charWidth; charWidth=$(sed -n 's/^printer .*charWidth=\([0-9]*\).*/\1/p' "$OUT/probe.txt")
  pdftotext -bbox -f 1 -l 1 "$OUT.pdf" - |
    sed -n 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)"[^>]*>\(.*\)<\/word>/\3 \1 \2/p' |
    awk -v pitch="$charWidth" '
      BEGIN { split("a 0 b 4 cd 8 efg 12 hijk 16 タブ位置の確認 24", w, " ")
              for (i = 1; i in w; i += 2) column[w[i]] = w[i + 1] }
      $1 == "a" && !found { found = 1; left = $2; top = $3 }
      found && $3 == top && ($1 in column) {
        seen++; want = left + column[$1] * pitch * 72 / 300
        if ($2 < want - 0.3 || $2 > want + 0.3) { printf "  %s at %.2f pt, wanted %.2f\n", $1, $2, want; bad++ } }
      END { if (seen != 6) print "  found " seen + 0 " of the 6 words of the tab row"
            exit !(seen == 6 && !bad) }' ||
    fail "the tab row is not printed on its tab stops"
}

# Prints the sample plainly on queue $1 and checks rows, margins and tab stops.
printsAndChecksPlainly() {
  OUT=$E2E_OUT/renderer-$1
  printSample "$1" "" "renderProbe-$1-plain" || return 1
  comparePages "" || return 1
  startsAtTheMargins || return 1
  tabStopsLandOnTheirColumns
}

printsTheLayoutOnPdf() {
  printsAndChecksPlainly PDF
}

# The text area is measured from the printable origin, which this queue
# moves by 75 and 150 pixels: the text must stay at the same place on the sheet.
printsTheLayoutInsideAnUnprintableBorder() {
  printsAndChecksPlainly PDFMargins
}

# With kinsoku, punctuation hangs past the last column into the margin; it
# must be printed on its row, not dropped or moved to the next.
printsHangingPunctuationOnItsRow() {
  OUT=$E2E_OUT/renderer-kinsoku
  printSample PDF --kinsoku renderProbe-PDF-kinsoku || return 1
  comparePages --kinsoku || return 1
  local columns widest
  columns=$(gridValue columns)
  widest=$(sed -n 's/.*widest=\([0-9]*\).*/\1/p' "$OUT/expected.txt")
  [ "$widest" -gt "$columns" ] || fail "the sample has no hanging row at $columns columns"
}

missingTools() {
  [ -x "$LAYOUT_TOOL" ] || fail "no $LAYOUT_TOOL: build the native tree first"
  [ -f "$PROBE" ] || fail "no $PROBE: build the renderProbe target first"
}
missingTools >/dev/null || { runTests missingTools; exit 1; }
runTests printsTheLayoutOnPdf printsTheLayoutInsideAnUnprintableBorder printsHangingPunctuationOnItsRow
