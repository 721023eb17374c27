// Page geometry measured from the real CUPS PDF printer as Wine sees it: A4
// at 300 dpi is 2479 x 3508 pixels; Wine's HIMETRIC mapping on it uses the
// whole millimetres of HORZSIZE/VERTSIZE (209 x 297 mm, or 197 x 271 mm for
// the queue whose PPD leaves an unprintable border of 75 and 150 pixels).
// The display has 96 pixels per inch.
#include <gtest/gtest.h>
#include <windows.h>

#include "print/pageMetrics.h"
#include "printerFixture.h"

namespace {

testing::AssertionResult sameRect(const RECT& actual, RECT expected) {
    if (EqualRect(&actual, &expected)) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "{" << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
           << "} instead of {" << expected.left << "," << expected.top << "," << expected.right
           << "," << expected.bottom << "}";
}

class PageMetricsOnPdfPrinter : public testing::Test {
protected:
    void TearDown() override { releasePrinter(); }
};

TEST_F(PageMetricsOnPdfPrinter, PortraitA4WithTwentyMillimetreMargins) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
    ASSERT_EQ(computePageMetrics(nullptr), 1);

    EXPECT_EQ(printerMetrics.paperWidth, 2479);
    EXPECT_EQ(printerMetrics.paperHeight, 3508);
    EXPECT_TRUE(sameRect(printerMetrics.printableRect, {0, 0, 2479, 3508}));
    // 20 mm = 2000 x 2479/20900 = 237.2 across, 2000 x 3508/29700 = 236.2 down;
    // 190 mm = 2253.6 and 277 mm = 3271.8, rounded by the mapping.
    EXPECT_TRUE(sameRect(printerMetrics.textRect, {237, 236, 2254, 3272}));

    // 210 mm x 96 x 0.0394 = 794.3, 297 mm = 1123.3; the printable width is
    // the printer's 209 whole millimetres = 790.5.
    EXPECT_EQ(screenMetrics.paperWidth, 794);
    EXPECT_EQ(screenMetrics.paperHeight, 1123);
    EXPECT_TRUE(sameRect(screenMetrics.printableRect, {0, 0, 790, 1123}));
    // 20 mm = 75.6, 190 mm = 718.7, 277 mm = 1047.7, truncated.
    EXPECT_TRUE(sameRect(screenMetrics.textRect, {75, 75, 718, 1047}));
}

TEST_F(PageMetricsOnPdfPrinter, LandscapeTurnsEverything) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_LANDSCAPE, 2000));
    ASSERT_EQ(computePageMetrics(nullptr), 1);

    EXPECT_EQ(printerMetrics.paperWidth, 3508);
    EXPECT_EQ(printerMetrics.paperHeight, 2479);
    EXPECT_TRUE(sameRect(printerMetrics.printableRect, {0, 0, 3508, 2479}));
    EXPECT_TRUE(sameRect(printerMetrics.textRect, {236, 237, 3272, 2254}));
    EXPECT_EQ(screenMetrics.paperWidth, 1123);
    EXPECT_EQ(screenMetrics.paperHeight, 794);
    EXPECT_TRUE(sameRect(screenMetrics.printableRect, {0, 0, 1123, 790}));
    EXPECT_TRUE(sameRect(screenMetrics.textRect, {75, 75, 1047, 718}));
}

TEST_F(PageMetricsOnPdfPrinter, UnprintableBorderMovesThePrinterOrigin) {
    ASSERT_TRUE(selectPrinter("PDFMargins", DMORIENT_PORTRAIT, 2000));
    ASSERT_EQ(computePageMetrics(nullptr), 1);

    EXPECT_EQ(printerMetrics.paperWidth, 2479);
    EXPECT_EQ(printerMetrics.paperHeight, 3508);
    // 2329 x 3208 printable pixels from (75, 150).
    EXPECT_TRUE(sameRect(printerMetrics.printableRect, {75, 150, 2404, 3358}));
    // From the printable origin: 2000 x 2329/19700 = 236.4 less 75; 2000 x
    // 3208/27100 = 236.8 less 150; 19000 -> 2246.3 less 75; 27700 -> 3279.0 less 150.
    EXPECT_TRUE(sameRect(printerMetrics.textRect, {161, 87, 2171, 3129}));
    // 75 px = 634 -> 6 mm = 22.7; 150 px = 1267 -> 12 mm = 45.4; 2404 px = 203 mm
    // = 767.8; 3358 px = 283 mm = 1070.4.
    EXPECT_TRUE(sameRect(screenMetrics.printableRect, {22, 45, 767, 1070}));
    EXPECT_TRUE(sameRect(screenMetrics.textRect, {75, 75, 718, 1047}));
}

TEST_F(PageMetricsOnPdfPrinter, UnprintableBorderInLandscape) {
    ASSERT_TRUE(selectPrinter("PDFMargins", DMORIENT_LANDSCAPE, 2000));
    ASSERT_EQ(computePageMetrics(nullptr), 1);
    EXPECT_TRUE(sameRect(printerMetrics.printableRect, {150, 75, 3358, 2404}));
    EXPECT_TRUE(sameRect(printerMetrics.textRect, {87, 161, 3129, 2171}));
    EXPECT_TRUE(sameRect(screenMetrics.printableRect, {45, 22, 1070, 767}));
}

TEST_F(PageMetricsOnPdfPrinter, PrintDialogLandscapeTurnsPaperAndMargins) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_LANDSCAPE, 0));
    savedOrientation = DMORIENT_PORTRAIT;  // page setup described a portrait sheet
    pageSetup.ptPaperSize = POINT{21000, 29700};
    pageSetup.rtMargin = RECT{1000, 2000, 3000, 4000};
    HDC dc = createPrinterDC();
    ASSERT_NE(dc, nullptr);

    computePageMetrics(dc);
    DeleteDC(dc);

    EXPECT_EQ(savedOrientation, DMORIENT_LANDSCAPE);
    // The old left margin is the new top one.
    EXPECT_TRUE(sameRect(pageSetup.rtMargin, {4000, 1000, 2000, 3000}));
    // Turned to 29700 x 21000; the measured sheet, 297 x 209 whole millimetres,
    // is a full millimetre short across the short side and replaces it.
    EXPECT_EQ(pageSetup.ptPaperSize.x, 29700);
    EXPECT_EQ(pageSetup.ptPaperSize.y, 20900);
}

TEST_F(PageMetricsOnPdfPrinter, NoPrinterKeepsThePreviousMetrics) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
    computePageMetrics(nullptr);
    releasePrinter();
    EXPECT_EQ(createPrinterDC(), nullptr);
    EXPECT_EQ(computePageMetrics(nullptr), 0);
    EXPECT_EQ(printerMetrics.paperWidth, 2479);
    EXPECT_EQ(screenMetrics.paperHeight, 1123);
}

}  // namespace
