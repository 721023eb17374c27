#!/usr/bin/env python3
"""What the renderer should have drawn, from pemo-layout's output and the
file's own bytes, and checks of printed text and screenshots against it.

  pageRows.py expected FILE LAYOUT OUTDIR --columns N [--tab N]
      writes OUTDIR/page-<n>.txt: each page's non-blank rows, whitespace
      removed, and prints "pages=<n> rows=<n> widest=<columns>".
  pageRows.py normalize TEXT OUT
      the same normalisation for pdftotext's output of one page.
  pageRows.py screen FILE LAYOUT PROBE_OUTPUT IMAGE.ppm [--tab N]
      checks where page 1 was drawn in a screenshot of the probe's window.
"""
import argparse
import re
import sys

WHITESPACE = re.compile(r"\s+")
# Ink: any pixel darker than the white page; glyphs are anti-aliased and a
# half-width full stop is only a few light grey pixels.
INK_LEVEL = 248


def isLeadByte(b):
    return 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC


def splitLines(data):
    """The loader's lines: LF, CR LF and a lone CR end a line; a form feed
    ends the line and its page; NUL reads as a space; the text after the
    last line end is one more (possibly empty) line."""
    data = data.replace(b"\0", b" ")
    lines, current, i = [], bytearray(), 0
    while i < len(data):
        b = data[i]
        if b == 0x0A:
            lines.append((bytes(current), False)); current = bytearray()
        elif b == 0x0D:
            if i + 1 < len(data) and data[i + 1] == 0x0A:
                i += 1
            lines.append((bytes(current), False)); current = bytearray()
        elif b == 0x0C:
            lines.append((bytes(current), True)); current = bytearray()
        else:
            current.append(b)
        i += 1
    lines.append((bytes(current), False))
    return lines


def characters(text, offset, count):
    """The row's characters as byte strings: a lead byte and the byte after
    it are one character."""
    chars, p = [], offset
    while len(chars) < count and p < len(text):
        width = 2 if isLeadByte(text[p]) and p + 1 < len(text) else 1
        chars.append(text[p:p + width])
        p += width
    if len(chars) != count:
        raise SystemExit(f"row at {offset} wants {count} characters, the line has {len(chars)}")
    return chars


def tabAdvance(used, tabCount, columns):
    advance = min(tabCount - used % tabCount, columns - used)
    return advance if advance > 0 else 1


def cells(chars, tabCount, columns):
    """(column, width, character) for every character of a row, tabs
    included, by the row's own tab stops."""
    used, placed = 0, []
    for c in chars:
        if c == b"\t":
            width = tabAdvance(used, tabCount, columns)
        else:
            width = len(c)
        placed.append((used, width, c))
        used += width
    return placed


def isBlank(c):
    return c in (b" ", b"\t", b"\x81\x40")


def decode(chars):
    return b"".join(chars).decode("cp932", errors="replace")


class Layout:
    def __init__(self, path, filePath):
        self.lines, self.pages = [], []
        for text in open(path, encoding="ascii"):
            f = text.split()
            if f[0] == "line":
                self.lines.append({"length": int(f[4].split("=")[1]),
                                   "pagebreak": f[3] == "pagebreak=1", "rows": []})
            elif f[0] == "row":
                self.lines[int(f[1])]["rows"].append(
                    (int(f[3].split("=")[1]), int(f[4].split("=")[1])))
            elif f[0] == "page":
                self.pages.append((int(f[2].split("=")[1]), int(f[3].split("=")[1])))
        split = splitLines(open(filePath, "rb").read())
        if len(split) != len(self.lines):
            raise SystemExit(f"{filePath}: {len(split)} lines here, {len(self.lines)} in the layout")
        for index, (line, (text, pagebreak)) in enumerate(zip(self.lines, split)):
            if len(text) != line["length"] or pagebreak != line["pagebreak"]:
                raise SystemExit(f"{filePath}: line {index} does not match the layout")
            line["text"] = text

    def allRows(self):
        return [(i, k) for i, line in enumerate(self.lines) for k in range(len(line["rows"]))]

    def pageRows(self):
        """Each page's rows, from its first row up to the next page's first."""
        rows = self.allRows()
        starts = [rows.index((line, row - 1)) for line, row in self.pages]
        ends = starts[1:] + [len(rows)]
        return [rows[s:e] for s, e in zip(starts, ends)]

    def rowChars(self, lineIndex, rowIndex):
        line = self.lines[lineIndex]
        offset, count = line["rows"][rowIndex]
        return characters(line["text"], offset, count)


def expected(args):
    layout = Layout(args.layout, args.file)
    widest, rowCount = 0, 0
    for number, rows in enumerate(layout.pageRows(), 1):
        texts = []
        for lineIndex, rowIndex in rows:
            chars = layout.rowChars(lineIndex, rowIndex)
            placed = cells(chars, args.tab, args.columns)
            if placed:
                widest = max(widest, placed[-1][0] + placed[-1][1])
            text = WHITESPACE.sub("", decode(chars))
            if text:
                texts.append(text)
        rowCount += len(rows)
        with open(f"{args.outdir}/page-{number}.txt", "w", encoding="utf-8") as out:
            out.write("".join(t + "\n" for t in texts))
    print(f"pages={len(layout.pages)} rows={rowCount} widest={widest}")


def normalize(args):
    texts = [WHITESPACE.sub("", t) for t in open(args.text, encoding="utf-8")]
    with open(args.out, "w", encoding="utf-8") as out:
        out.write("".join(t + "\n" for t in texts if t))


def readPpm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit(f"{path}: not an 8-bit P6 image")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    ink = [[min(pixels[3 * (y * width + x):3 * (y * width + x) + 3]) < INK_LEVEL
            for x in range(width)] for y in range(height)]
    return width, height, ink


def probeValues(path):
    values = {}
    for text in open(path, encoding="ascii", errors="replace"):
        words = text.split()
        for word in words[1:]:
            if "=" in word:
                key, value = word.split("=", 1)
                values[f"{words[0]}.{key}"] = value
    return values


def needsStretch(grid, text, cell):
    return grid > 0 and (grid > text or cell + grid < text)


def screen(args):
    layout = Layout(args.layout, args.file)
    probe = probeValues(args.probe)
    left, top = int(probe["text.left"]), int(probe["text.top"])
    right, bottom = int(probe["text.right"]), int(probe["text.bottom"])
    columns, rowsPerPage = int(probe["grid.columns"]), int(probe["grid.rows"])
    charWidth, lineHeight = int(probe["screen.charWidth"]), int(probe["screen.lineHeight"])
    width, height, ink = readPpm(args.image)
    failures = []

    inked = [(x, y) for y in range(height) for x in range(width) if ink[y][x]]
    if len(inked) < 500:
        failures.append(f"the window is blank ({len(inked)} ink pixels)")

    # Nothing but rows is drawn: no ink outside the text rectangle. A glyph
    # squeezed into a narrower cell may spill by a pixel.
    slack = 2
    outside = [(x, y) for x, y in inked
               if not (left <= x < right + slack and top <= y < bottom + slack)]
    if outside:
        failures.append(f"{len(outside)} ink pixels outside the text area {left},{top},{right},{bottom},"
                        f" first at {outside[0]}")

    textWidth, textHeight = right - left, bottom - top
    gridWidth, gridHeight = columns * charWidth, rowsPerPage * lineHeight
    stretchX = needsStretch(gridWidth, textWidth, charWidth)
    stretchY = needsStretch(gridHeight, textHeight, lineHeight)

    def cellLeft(column):
        advance = column * charWidth
        return left + (advance * textWidth // gridWidth if stretchX else advance)

    def rowTop(k):
        offset = k * lineHeight
        return top + (offset * textHeight // gridHeight if stretchY else offset)

    rows = layout.pageRows()[0]
    checked = 0
    for k, (lineIndex, rowIndex) in enumerate(rows):
        y0, y1 = rowTop(k), min(rowTop(k + 1), rowTop(k) + lineHeight)
        if y1 > height:
            break  # the rest of the sheet lies below the screen
        checked += 1
        placed = cells(layout.rowChars(lineIndex, rowIndex), args.tab, columns)
        boxes = [(cellLeft(col), cellLeft(col + w), c) for col, w, c in placed if not isBlank(c)]
        label = f"row {k + 1} ({decode([c for _, _, c in placed]).strip()[:12]}...)"
        for x0, x1, c in boxes:
            if not any(ink[y][x] for y in range(y0, y1) for x in range(x0, min(x1, width))):
                failures.append(f"{label}: nothing drawn for {c.decode('cp932')!r} at x {x0}-{x1}")
        stray = [x for y in range(y0, y1) for x in range(width) if ink[y][x]
                 and not any(x0 - 1 <= x < x1 + slack for x0, x1, _ in boxes)]
        if stray:
            failures.append(f"{label}: {len(stray)} ink pixels outside its characters' cells,"
                            f" first at x {stray[0]}")
    # The page ends at its last row (here the form feed's): nothing below it.
    below = [(x, y) for x, y in inked if y >= rowTop(len(rows))]
    if below:
        failures.append(f"{len(below)} ink pixels below page 1's last row, first at {below[0]}")
    if checked < 10:
        failures.append(f"only {checked} rows of page 1 could be checked")
    for failure in failures[:20]:
        print(failure)
    print(f"rows checked={checked} ink={len(inked)} stretch={int(stretchX)},{int(stretchY)}")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("expected")
    p.add_argument("file"); p.add_argument("layout"); p.add_argument("outdir")
    p.add_argument("--columns", type=int, required=True); p.add_argument("--tab", type=int, default=4)
    p = sub.add_parser("normalize")
    p.add_argument("text"); p.add_argument("out")
    p = sub.add_parser("screen")
    p.add_argument("file"); p.add_argument("layout"); p.add_argument("probe"); p.add_argument("image")
    p.add_argument("--tab", type=int, default=4)
    args = parser.parse_args()
    if args.command == "expected":
        expected(args)
    elif args.command == "normalize":
        normalize(args)
    else:
        sys.exit(screen(args))


if __name__ == "__main__":
    main()
