#!/usr/bin/env python3
"""Checks a screenshot of the preview window: one sheet of paper at the
preview scale.

  sheetImage.py sheet IMAGE.ppm --window WxH --paper-mm W,H --margins-mm L,T,R,B
                [--empty] [--min-ink N]

The window is the whole sheet (W x H millimetres). Expected on it:
  - the light-grey frame of the printable area; on a printer without an
    unprintable border that is the sheet's own edge: the first and last
    columns and the first row are solid light grey;
  - the dotted light-grey outline of the text area, the margins in from
    the edges (one pixel of rounding either way at any scale);
  - text: dark pixels inside the outline (none with --empty), and no dark
    pixel anywhere else.
The screenshot may be cut at the bottom of the screen; the window's bottom
edge is then not checked.
"""
import argparse
import sys

LIGHT_GREY = (192, 192, 192)
# Glyphs are anti-aliased: a pixel counts as ink when clearly darker than the
# light-grey outlines.
INK_LEVEL = 160


def readPpm(path):
    data = open(path, "rb").read()
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise SystemExit(f"{path}: not an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[position + 1:]


def sheet(args):
    width, height, pixels = readPpm(args.image)
    paperWidth, paperHeight = (float(v) for v in args.paper_mm.split(","))
    left, top, right, bottom = (float(v) for v in args.margins_mm.split(","))
    # The window is the sheet, whose bottom may lie below the screenshot; the
    # screen's pixels need not be square.
    windowWidth, windowHeight = (int(v) for v in args.window.split("x"))
    if windowWidth != width or windowHeight < height:
        raise SystemExit(f"a {width}x{height} screenshot of a {args.window} window")
    perMmX, perMmY = windowWidth / paperWidth, windowHeight / paperHeight
    failures = []

    # One pass: light-grey counts per column and row, and the dark pixels.
    columnGrey, rowGrey, dark = [0] * width, [0] * height, []
    stride = width * 3
    for y in range(height):
        line = pixels[y * stride:(y + 1) * stride]
        for x in range(width):
            r, g, b = line[3 * x], line[3 * x + 1], line[3 * x + 2]
            if (r, g, b) == LIGHT_GREY:
                columnGrey[x] += 1
                rowGrey[y] += 1
            elif max(r, g, b) < INK_LEVEL:
                dark.append((x, y))

    # The frame of the printable area at the sheet's edges.
    for name, share in (("left", columnGrey[0] / height), ("right", columnGrey[width - 1] / height),
                        ("top", rowGrey[0] / width)):
        if share < 0.98:
            failures.append(f"the {name} edge is not framed in light grey ({share:.0%})")

    # Dotted lines: columns and rows, away from the frame, that are largely
    # light grey (about every other pixel of a dotted line).
    columns = [x for x in range(2, width - 2) if columnGrey[x] > 0.3 * height]
    rows = [y for y in range(2, height - 2) if rowGrey[y] > 0.3 * width]
    expectedColumns = [left * perMmX, width - right * perMmX]
    expectedRows = [y for y in (top * perMmY, windowHeight - bottom * perMmY) if y < height - 2]
    print(f"size={width}x{height} outline columns={columns} rows={rows} expected "
          f"columns={[int(v) for v in expectedColumns]} rows={[int(v) for v in expectedRows]}")
    if len(columns) != 2 or any(abs(c - e) > 2 for c, e in zip(columns, expectedColumns)):
        failures.append("the text area's dotted sides are not where the margins put them")
    if len(rows) != len(expectedRows) or any(abs(r - e) > 2 for r, e in zip(rows, expectedRows)):
        failures.append("the text area's dotted top or bottom is not where the margins put them")

    if len(columns) == 2 and rows:
        x0, x1 = columns
        y0 = rows[0]
        y1 = rows[1] if len(rows) > 1 else height
        # Glyphs start on the text area's edge, so their anti-aliasing may
        # touch the outline itself.
        within = lambda x, y: x0 <= x <= x1 and y0 <= y <= y1
        inside = [(x, y) for x, y in dark if within(x, y)]
        outside = [(x, y) for x, y in dark if not within(x, y)]
        print(f"ink inside the text area={len(inside)} outside={len(outside)}")
        if outside:
            failures.append(f"{len(outside)} dark pixels outside the text area, first at {outside[0]}")
        if args.empty and inside:
            failures.append(f"an empty page shows {len(inside)} dark pixels")
        if not args.empty and len(inside) < args.min_ink:
            failures.append(f"only {len(inside)} dark pixels of text inside the text area")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("sheet")
    p.add_argument("image")
    p.add_argument("--window", required=True, help="WIDTHxHEIGHT of the whole window")
    p.add_argument("--paper-mm", required=True)
    p.add_argument("--margins-mm", default="20,20,20,20")
    p.add_argument("--empty", action="store_true")
    p.add_argument("--min-ink", type=int, default=100)
    args = parser.parse_args()
    sys.exit(sheet(args))


if __name__ == "__main__":
    main()
