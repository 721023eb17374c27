#include "pageArithmetic.h"

#include <algorithm>

int32_t himetricToScreen(int32_t value, int32_t pixelsPerInch, int yAxis) {
    double millimetres = double(value / 100);
    double pixels = double(pixelsPerInch) * millimetres * (yAxis ? -0.0394 : 0.0394);
    if (pixels >= 2147483647.0) return INT32_MAX;
    if (pixels <= -2147483648.0) return INT32_MIN;
    return int32_t(pixels);
}

int32_t fontHeightForDevice(int32_t pixelsPerInch, int32_t pointSize) {
    float height = float(int64_t(pixelsPerInch) * pointSize) * 0.013888889f;
    double magnitude = height < 0 ? -double(height) : double(height);
    double em = double(int64_t(magnitude)) * 0.1 + 0.5;
    if (em >= 2147483647.0) return INT32_MIN + 1;
    return -int32_t(em);
}

int32_t roundUpToMillimetre(int32_t value) {
    if (value % 100 > 0 && value / 100 < INT32_MAX / 100) return (value / 100 + 1) * 100;
    return value;
}

int32_t adoptMeasuredPaperSize(int32_t pageSetupValue, int32_t measuredValue) {
    int64_t difference = int64_t(measuredValue) - pageSetupValue;
    if (difference < 0) difference = -difference;
    return difference >= 100 ? measuredValue : pageSetupValue;
}

void rotateMargins(MarginBox* m, int32_t orientation) {
    MarginBox old = *m;
    if (orientation == ORIENTATION_LANDSCAPE) {
        *m = MarginBox{old.bottom, old.left, old.top, old.right};
    } else if (orientation == ORIENTATION_PORTRAIT) {
        *m = MarginBox{old.top, old.right, old.bottom, old.left};
    }
}

int computePageGrid(int32_t textWidth, int32_t textHeight, int32_t charWidth, int32_t lineHeight,
                    int32_t* columns, int32_t* rows) {
    if (charWidth <= 0 || lineHeight <= 0) return 0;
    *columns = std::max(textWidth / charWidth, 4);
    *rows = std::max(textHeight / lineHeight, 1);
    return 1;
}

int32_t clampToInt32(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int32_t(value);
}

int32_t marginForBorder(int32_t borderPixels, int32_t pixelsPerInch) {
    if (pixelsPerInch <= 0) return DEFAULT_MARGIN;
    int64_t margin = (int64_t(borderPixels) * 2540 + pixelsPerInch / 2) / pixelsPerInch;
    return margin > DEFAULT_MARGIN ? clampToInt32(margin) : DEFAULT_MARGIN;
}

int32_t scaleForPreview(int32_t pixels, int32_t scale) {
    double scaled = double(scale) * 0.01 * double(pixels);
    if (scaled >= 2147483647.0) return INT32_MAX;
    if (scaled <= -2147483648.0) return INT32_MIN;
    return int32_t(scaled);
}
