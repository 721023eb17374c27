// Page arithmetic: units, font heights, paper sizes, margins, the page range
// of a job and where the renderer puts rows and cells.
#include <gtest/gtest.h>

#include "layout/pageWalk.h"
#include "print/pageArithmetic.h"
#include "print/printRange.h"

namespace {

TEST(PageMath, Units) {
    const int32_t screen[][4] = {  // hundredths of a mm, dpi, y axis, pixels
        {21000, 96, 0, 794},
        {INT32_MAX, INT32_MAX, 0, INT32_MAX}, {INT32_MIN, INT32_MAX, 1, INT32_MAX}};
    for (const auto& s : screen) EXPECT_EQ(himetricToScreen(s[0], s[1], s[2]), s[3]) << s[0] << " " << s[1];
    const int32_t heights[][3] = {{96, 100, -13}, {-300, 100, -42}, {96, 105, -14}, {96, 0, 0}};
    for (const auto& h : heights) EXPECT_EQ(fontHeightForDevice(h[0], h[1]), h[2]) << h[0] << " " << h[1];
    const int32_t rounded[][2] = {{20990, 21000}, {21000, 21000}, {-150, -150}, {INT32_MAX, INT32_MAX}};
    for (const auto& r : rounded) EXPECT_EQ(roundUpToMillimetre(r[0]), r[1]);
    const int32_t adopted[][3] = {{21000, 21099, 21000}, {21000, 21100, 21100}, {21000, 20900, 20900}};
    for (const auto& a : adopted) EXPECT_EQ(adoptMeasuredPaperSize(a[0], a[1]), a[2]) << a[1];
    const int32_t scaled[][3] = {{794, 60, 476}, {1123, 75, 842}};
    for (const auto& s : scaled) EXPECT_EQ(scaleForPreview(s[0], s[1]), s[2]) << s[0] << " " << s[1];
    const int32_t margins[][3] = {{236, 300, 2000}, {301, 300, 2548}};  // border pixels, dpi
    for (const auto& m : margins) EXPECT_EQ(marginForBorder(m[0], m[1]), m[2]) << m[0] << " " << m[1];
}

TEST(PageMath, MarginsTurnWithTheSheet) {
    MarginBox m = {1, 2, 3, 4};
    const int32_t turns[][5] = {{ORIENTATION_LANDSCAPE, 4, 1, 2, 3}, {ORIENTATION_PORTRAIT, 1, 2, 3, 4}, {7, 1, 2, 3, 4}};
    for (const auto& t : turns) {  // to landscape the old left margin becomes the top one
        rotateMargins(&m, t[0]);
        EXPECT_TRUE(m.left == t[1] && m.top == t[2] && m.right == t[3] && m.bottom == t[4]) << t[0];
    }
}

TEST(PageMath, PageRange) {
    const int32_t ranges[][6] = {  // page numbers?, from, to, page count -> first, last
        {0, 1, 1, 5, 1, 5},     {0, 3, 4, 5, 1, 5},   {0, 1, 1, 70000, 1, 70000}, {1, 2, 3, 5, 2, 3},
        {1, 4, 4, 5, 4, 4},     {1, 0, 3, 5, 1, 3},   {1, 0, 0, 5, 1, 1},         {1, 7, 9, 5, 5, 5},
        {1, 3, 9, 5, 3, 5},     {1, 40000, 50000, 60000, 40000, 50000},          {1, 4, 2, 5, 4, 2},
        {1, 8, 3, 5, 5, 3},     {1, 3, 0, 5, 3, 1},   {0, 1, 1, 0, 1, 0},         {1, 1, 1, 0, 1, 0}};
    for (const auto& r : ranges) {
        PageRange range = choosePageRange(r[0], uint16_t(r[1]), uint16_t(r[2]), r[3]);
        EXPECT_TRUE(range.first == r[4] && range.last == r[5]) << r[0] << " " << r[1] << "-" << r[2] << " of " << r[3];
    }
    const int32_t fields[][2] = {{1, 1}, {65535, 65535}, {65536, 65535}, {0, 1}};
    for (const auto& f : fields) EXPECT_EQ(dialogPageNumber(f[0]), f[1]) << f[0];
}

// Where the renderer puts rows and cells: 10 x 10 cells of 20 x 40, a grid of 200 x 400,
// stretched over a text area more than a cell larger.
TEST(PageMath, RenderGeometry) {
    const RenderGeometry g = makeRenderGeometry(10, 20, 310, 620, 20, 40, 10, 10), exact = makeRenderGeometry(5, 5, 225, 445, 20, 40, 10, 10);
    EXPECT_TRUE(g.stretchX && g.stretchY && !exact.stretchX && !exact.stretchY && rowTop(g, 40) == 80 && rowTop(exact, 80) == 85);
    // x, advance, grid width, text width -> left, stretched?
    const int32_t cells[][6] = {
        {10, 30, 200, 300, 55, 1}, {0, 60, 80, 50, 37, 1}, {10, 60, 200, 200, 70, 0}, {0, 1, 1, 50, 50, 1}};
    for (const auto& c : cells)
        EXPECT_TRUE(needsStretch(c[2], c[3], 20) == c[5] && cellLeft(c[0], c[1], c[5], c[2], c[3]) == c[4]) << c[1];
}

}  // namespace
