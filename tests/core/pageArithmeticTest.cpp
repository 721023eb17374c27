// Unit arithmetic of the page metrics: screen pixels, font heights, paper
// rounding, margin rotation and the grid.
#include <gtest/gtest.h>

#include "print/pageArithmetic.h"

TEST(HimetricToScreen, WholeMillimetresTimesPointZeroThreeNineFour) {
    // A4 on a 96 dpi display: 794 x 1123; a 25 mm margin is 94 pixels.
    EXPECT_EQ(himetricToScreen(21000, 96, 0), 794);
    EXPECT_EQ(himetricToScreen(-29700, 96, 1), 1123);
    EXPECT_EQ(himetricToScreen(2500, 96, 0), 94);
    // The fraction of a millimetre goes first: 99 hundredths are nothing.
    EXPECT_EQ(himetricToScreen(99, 96, 0), 0);
    EXPECT_EQ(himetricToScreen(-99, 96, 1), 0);
    EXPECT_EQ(himetricToScreen(2599, 96, 0), 94);
    // 120 dpi: 210 x 120 x 0.0394 = 992.88.
    EXPECT_EQ(himetricToScreen(21000, 120, 0), 992);
}

TEST(HimetricToScreen, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(himetricToScreen(INT32_MAX, INT32_MAX, 0), INT32_MAX);
    EXPECT_EQ(himetricToScreen(INT32_MIN, INT32_MAX, 0), INT32_MIN);
    EXPECT_EQ(himetricToScreen(INT32_MIN, INT32_MAX, 1), INT32_MAX);
}

TEST(FontHeightForDevice, TenPointAtCommonResolutions) {
    EXPECT_EQ(fontHeightForDevice(96, 100), -13);
    EXPECT_EQ(fontHeightForDevice(120, 100), -17);
    EXPECT_EQ(fontHeightForDevice(300, 100), -42);
    EXPECT_EQ(fontHeightForDevice(600, 100), -83);
    EXPECT_EQ(fontHeightForDevice(96, 105), -14);
}

TEST(FontHeightForDevice, HostileSizesStayInRange) {
    EXPECT_EQ(fontHeightForDevice(96, 0), 0);
    EXPECT_LT(fontHeightForDevice(96, INT32_MAX), 0);
    EXPECT_LE(fontHeightForDevice(96, INT32_MIN), 0);
}

TEST(PaperSize, MeasuredSheetIsTakenUpToWholeMillimetres) {
    EXPECT_EQ(roundUpToMillimetre(20990), 21000);
    EXPECT_EQ(roundUpToMillimetre(21000), 21000);
    EXPECT_EQ(roundUpToMillimetre(20901), 21000);
    EXPECT_EQ(roundUpToMillimetre(-150), -150);
    EXPECT_EQ(roundUpToMillimetre(INT32_MAX), INT32_MAX);
}

TEST(PaperSize, OnlyAFullMillimetreReplacesThePageSetupSize) {
    EXPECT_EQ(adoptMeasuredPaperSize(21000, 21099), 21000);
    EXPECT_EQ(adoptMeasuredPaperSize(21000, 20901), 21000);
    EXPECT_EQ(adoptMeasuredPaperSize(21000, 21100), 21100);
    EXPECT_EQ(adoptMeasuredPaperSize(21000, 20900), 20900);
    EXPECT_EQ(adoptMeasuredPaperSize(INT32_MIN, INT32_MAX), INT32_MAX);
}

TEST(RotateMargins, TurnsWithTheSheet) {
    MarginBox m = {1, 2, 3, 4};
    rotateMargins(&m, ORIENTATION_LANDSCAPE);
    // The old left margin becomes the top one.
    EXPECT_EQ(m.left, 4);
    EXPECT_EQ(m.top, 1);
    EXPECT_EQ(m.right, 2);
    EXPECT_EQ(m.bottom, 3);
    rotateMargins(&m, ORIENTATION_PORTRAIT);
    EXPECT_EQ(m.left, 1);
    EXPECT_EQ(m.top, 2);
    EXPECT_EQ(m.right, 3);
    EXPECT_EQ(m.bottom, 4);
    rotateMargins(&m, 7);
    EXPECT_EQ(m.left, 1);
    EXPECT_EQ(m.bottom, 4);
}

TEST(ComputePageGrid, CellsThatFitWithMinimums) {
    int32_t columns = 0, rows = 0;
    ASSERT_EQ(computePageGrid(2017, 3036, 21, 42, &columns, &rows), 1);
    EXPECT_EQ(columns, 96);
    EXPECT_EQ(rows, 72);
    computePageGrid(60, 30, 21, 42, &columns, &rows);
    EXPECT_EQ(columns, 4);
    EXPECT_EQ(rows, 1);
    computePageGrid(-500, -500, 21, 42, &columns, &rows);
    EXPECT_EQ(columns, 4);
    EXPECT_EQ(rows, 1);
}

TEST(ComputePageGrid, RefusesACellWithoutSize) {
    int32_t columns = 7, rows = 9;
    EXPECT_EQ(computePageGrid(2000, 3000, 0, 42, &columns, &rows), 0);
    EXPECT_EQ(computePageGrid(2000, 3000, 21, 0, &columns, &rows), 0);
    EXPECT_EQ(computePageGrid(2000, 3000, -3, 42, &columns, &rows), 0);
    EXPECT_EQ(columns, 7);
    EXPECT_EQ(rows, 9);
}
