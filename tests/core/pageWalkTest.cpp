// Where the renderer puts rows and cells: the stretch rule and the walks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/pageWalk.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

namespace {

TEST(RenderGeometry, StretchOnlyWhenTheGridDoesNotFitOrLeavesMoreThanACell) {
    // 10 columns of 20 = 200 pixels.
    EXPECT_FALSE(makeRenderGeometry(0, 0, 200, 400, 20, 40, 10, 10).stretchX);
    EXPECT_FALSE(makeRenderGeometry(0, 0, 220, 400, 20, 40, 10, 10).stretchX);
    EXPECT_TRUE(makeRenderGeometry(0, 0, 221, 400, 20, 40, 10, 10).stretchX);
    EXPECT_TRUE(makeRenderGeometry(0, 0, 199, 400, 20, 40, 10, 10).stretchX);
    EXPECT_FALSE(makeRenderGeometry(0, 0, 200, 440, 20, 40, 10, 10).stretchY);
    EXPECT_TRUE(makeRenderGeometry(0, 0, 200, 441, 20, 40, 10, 10).stretchY);
    // A grid without size is never stretched (nothing to divide by).
    RenderGeometry empty = makeRenderGeometry(0, 0, 200, 400, 0, 0, 10, 10);
    EXPECT_FALSE(empty.stretchX);
    EXPECT_FALSE(empty.stretchY);
}

TEST(RenderGeometry, RowTopsAndCellsSpreadOverTheTextArea) {
    // Grid 200 x 400 on a text area 1.5 times as large.
    RenderGeometry g = makeRenderGeometry(10, 20, 310, 620, 20, 40, 10, 10);
    EXPECT_EQ(rowTop(g, 0), 20);
    EXPECT_EQ(rowTop(g, 40), 80);
    EXPECT_EQ(rowTop(g, 3 * 40), 200);
    EXPECT_EQ(cellLeft(10, 20, needsStretch(200, 300, 20), 200, 300), 40);
    EXPECT_EQ(cellLeft(10, 30, needsStretch(200, 300, 20), 200, 300), 55);
    // Squeezed: 4 columns of 20 on 50 pixels, rounded down separately.
    EXPECT_EQ(cellLeft(0, 20, needsStretch(80, 50, 20), 80, 50), 12);
    EXPECT_EQ(cellLeft(0, 60, needsStretch(80, 50, 20), 80, 50), 37);
    // Unstretched: plain offsets.
    RenderGeometry plain = makeRenderGeometry(10, 20, 210, 420, 20, 40, 10, 10);
    EXPECT_EQ(rowTop(plain, 80), 100);
    EXPECT_EQ(cellLeft(10, 60, needsStretch(200, 200, 20), 200, 200), 70);
}

struct Walked {
    std::vector<std::string> rows;  // "line:row@position"
};

void recordRow(void* context, LineNode* line, int32_t rowIndex, int32_t rowOnPage) {
    auto& walked = *static_cast<Walked*>(context);
    walked.rows.push_back(std::to_string(line->lineNumber) + ":" + std::to_string(rowIndex) + "@" +
                          std::to_string(rowOnPage));
}

class PageWalk : public testing::Test {
protected:
    void addLine(const char* text, int pageBreak = 0) {
        LineNode* line = appendLineText(tail, 0, text, int32_t(strlen(text)));
        line->pageBreakAfter = pageBreak;
    }
    void layOut(int32_t columns, int32_t rows) {
        breakAllLines(columns);
        paginate(rows);
    }
    std::vector<std::string> walk(int32_t page, int32_t rows) {
        Walked walked;
        walkPageRows(page, rows, recordRow, &walked);
        return walked.rows;
    }
    void TearDown() override {
        clearLineList();
        releasePages();
        pageCount = 0;
        currentPage = 0;
    }
};

TEST_F(PageWalk, PagesFollowTheIndexAndStopAtFormFeeds) {
    addLine("aaaaaaaa");  // 2 rows at 4 columns
    addLine("bb", 1);     // then a form feed
    addLine("cccccccccccc");  // 3 rows
    layOut(4, 4);
    ASSERT_EQ(pageCount, 2);
    EXPECT_EQ(walk(0, 4), (std::vector<std::string>{"1:0@0", "1:1@1", "2:0@2"}));
    EXPECT_EQ(walk(1, 4), (std::vector<std::string>{"3:0@0", "3:1@1", "3:2@2"}));
    EXPECT_TRUE(walk(2, 4).empty());
    EXPECT_TRUE(walk(-1, 4).empty());
}

TEST_F(PageWalk, APageMayStartInsideALine) {
    addLine("aaaaaaaaaaaa");  // 3 rows
    addLine("b");
    layOut(4, 2);
    ASSERT_EQ(pageCount, 2);
    EXPECT_EQ(walk(1, 2), (std::vector<std::string>{"1:2@0", "2:0@1"}));
}

TEST_F(PageWalk, NoDocumentNoRows) {
    layOut(4, 2);
    EXPECT_TRUE(walk(0, 2).empty());
}

struct Cells {
    std::vector<std::string> cells;  // "bytes@column"
};

void recordCell(void* context, const char* bytes, int32_t count, int64_t column) {
    static_cast<Cells*>(context)->cells.push_back(std::string(bytes, size_t(count)) + "@" +
                                                   std::to_string(column));
}

TEST_F(PageWalk, CellsAdvanceByWidthAndTabStops) {
    addLine("a\tb\x82\xa0" "c");  // a, tab, b, あ, c
    layOut(20, 5);
    Cells cells;
    walkRowCells(head, 0, recordCell, &cells);
    EXPECT_EQ(cells.cells, (std::vector<std::string>{"a@0", "b@4", "\x82\xa0@5", "c@7"}));
}

TEST_F(PageWalk, ALineWithoutRowTableDrawsFromItsStart) {
    addLine("abcdefgh");
    layOut(4, 5);
    free(head->rows);
    head->rows = nullptr;
    Cells first, second;
    walkRowCells(head, 0, recordCell, &first);
    walkRowCells(head, 1, recordCell, &second);
    EXPECT_EQ(first.cells.size(), 8u);
    EXPECT_EQ(first.cells, second.cells);
}

}  // namespace
