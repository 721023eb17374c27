// Fonts from the default description on the display and on the PDF printer,
// and the page grid they give.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"
#include "print/deviceFont.h"
#include "print/pageMetrics.h"
#include "printerFixture.h"

namespace {

struct FontCheck {
    LONG lfHeight;
    TEXTMETRICA metrics;
    SIZE doubleByteExtent;
    SIZE singleByteExtent;
    std::string fullName;  // of the font file that Wine's replacement picked
};

FontCheck checkFontOn(HDC dc, PageMetrics* record) {
    setDefaultFontDescription(&record->logFont);
    pointSize = 100;
    EXPECT_EQ(createDeviceFont(dc, record), 1);
    FontCheck check = {};
    check.lfHeight = record->logFont.lfHeight;
    HGDIOBJ previous = SelectObject(dc, record->font);
    GetTextMetricsA(dc, &check.metrics);
    GetTextExtentPoint32A(dc, "漢", 2, &check.doubleByteExtent);
    GetTextExtentPoint32A(dc, "W", 1, &check.singleByteExtent);
    UINT size = GetOutlineTextMetricsA(dc, 0, nullptr);
    if (size) {
        std::string buffer(size, '\0');
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICA*>(&buffer[0]);
        GetOutlineTextMetricsA(dc, size, outline);
        check.fullName = &buffer[reinterpret_cast<size_t>(outline->otmpFullName)];
    }
    SelectObject(dc, previous);
    return check;
}

TEST(DeviceFont, TenPointOnTheDisplayIsThirteenPixelsFixedPitch) {
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_EQ(GetDeviceCaps(display, LOGPIXELSY), 96);
    FontCheck check = checkFontOn(display, &screenMetrics);
    DeleteDC(display);

    EXPECT_EQ(check.lfHeight, -13);
    EXPECT_NE(check.fullName.find("VL"), std::string::npos) << check.fullName;
    // The pitch bit is set for variable pitch fonts.
    EXPECT_EQ(check.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(check.singleByteExtent.cx, screenMetrics.charWidth);
    EXPECT_EQ(check.doubleByteExtent.cx, 2 * screenMetrics.charWidth);
    EXPECT_EQ(screenMetrics.lineHeight, check.metrics.tmHeight);
}

TEST(DeviceFont, TenPointOnThePrinterIsFortyTwoPixels) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
    HDC printer = createPrinterDC();
    ASSERT_NE(printer, nullptr);
    FontCheck check = checkFontOn(printer, &printerMetrics);
    DeleteDC(printer);
    releasePrinter();

    EXPECT_EQ(check.lfHeight, -42);
    EXPECT_NE(check.fullName.find("VL"), std::string::npos) << check.fullName;
    EXPECT_EQ(check.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(check.doubleByteExtent.cx, 2 * printerMetrics.charWidth);
    EXPECT_GT(printerMetrics.charWidth, 0);
    EXPECT_GT(printerMetrics.lineHeight, 0);
}

class PageGrid : public testing::Test {
protected:
    void SetUp() override {
        columnsPerRow = rowsPerPage = 0;
        // Ten lines of 30 ASCII characters.
        for (int i = 0; i < 10; ++i) appendLineText(tail, 0, "abcdefghijklmnopqrstuvwxyz0123", 30);
        breakAllLines(30);
        paginate(100);
        grid.textRect = RECT{0, 0, 200, 300};
        grid.charWidth = 10;  // 20 columns
        grid.lineHeight = 30;  // 10 rows
    }
    void TearDown() override {
        clearLineList();
        releasePages();
        pageCount = 0;
    }
    PageMetrics grid = {};
};

TEST_F(PageGrid, NewColumnCountReBreaksAndRePaginates) {
    ASSERT_EQ(updatePageGrid(&grid), 1);
    EXPECT_EQ(columnsPerRow, 20);
    EXPECT_EQ(rowsPerPage, 10);
    EXPECT_EQ(head->rowCount, 2);
    EXPECT_EQ(pageCount, 2);
}

TEST_F(PageGrid, OnlyANewRowCountRePaginatesWithoutReBreaking) {
    updatePageGrid(&grid);
    layoutSettings.columns = 999;  // a re-break would overwrite this
    grid.lineHeight = 60;
    updatePageGrid(&grid);
    EXPECT_EQ(rowsPerPage, 5);
    EXPECT_EQ(layoutSettings.columns, 999);
    EXPECT_EQ(pageCount, 4);
    layoutSettings.columns = 20;
}

TEST_F(PageGrid, TinyOrNegativeTextAreasKeepTheMinimums) {
    grid.textRect = RECT{0, 0, 15, -40};  // margins larger than the sheet
    updatePageGrid(&grid);
    EXPECT_EQ(columnsPerRow, 4);
    EXPECT_EQ(rowsPerPage, 1);
}

TEST_F(PageGrid, AFontWithoutCellSizeKeepsThePreviousGrid) {
    updatePageGrid(&grid);
    grid.charWidth = 0;
    EXPECT_EQ(updatePageGrid(&grid), 0);
    grid.charWidth = 10;
    grid.lineHeight = 0;
    EXPECT_EQ(updatePageGrid(&grid), 0);
    EXPECT_EQ(columnsPerRow, 20);
    EXPECT_EQ(rowsPerPage, 10);
}

}  // namespace
