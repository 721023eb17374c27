// Unit and grid arithmetic of the page metrics, kept apart from the device
// calls so that it can be checked on its own.
#pragma once
#include <cstdint>

struct MarginBox {
    int32_t left, top, right, bottom;
};

enum { ORIENTATION_PORTRAIT = 1, ORIENTATION_LANDSCAPE = 2 };

// Hundredths of a millimetre to display pixels: whole millimetres first, then
// 0.0394 inch per millimetre, truncated. yAxis negates (HIMETRIC y grows up).
int32_t himetricToScreen(int32_t value, int32_t pixelsPerInch, int yAxis);

// The em height in pixels as the font's lfHeight: 1/72 inch per point in
// single precision, rounded to the nearest pixel, negative.
int32_t fontHeightForDevice(int32_t pixelsPerInch, int32_t pointSize);

// A measured sheet dimension taken up to the next whole millimetre.
int32_t roundUpToMillimetre(int32_t value);

// The page-setup dimension, or the measured one when they differ by 1 mm or more.
int32_t adoptMeasuredPaperSize(int32_t pageSetupValue, int32_t measuredValue);

// Turns the margins with the sheet when the orientation changes to `orientation`.
void rotateMargins(MarginBox* margins, int32_t orientation);

enum { DEFAULT_MARGIN = 2000 };  // hundredths of a millimetre

// The margin that keeps text off an unprintable border of that many pixels:
// the border in hundredths of a millimetre, rounded, and at least the default.
int32_t marginForBorder(int32_t borderPixels, int32_t pixelsPerInch);

// A 64-bit result brought back into 32 bits, saturating.
int32_t clampToInt32(int64_t value);

// A 100 % screen size at the preview scale (percent), truncated.
int32_t scaleForPreview(int32_t pixels, int32_t scale);

// Columns per row and rows per page for a text area and a character cell:
// at least 4 and 1. Gives 0 (and leaves both alone) for a cell without size.
int computePageGrid(int32_t textWidth, int32_t textHeight, int32_t charWidth, int32_t lineHeight,
                    int32_t* columns, int32_t* rows);
