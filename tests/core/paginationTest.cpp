// Pagination: page starts for row counts and form feeds, clamping of the page
// on display, and running out of memory.
#include "engineFixture.h"

namespace {

struct Start {
    size_t line;  // index in the document
    int32_t row;  // from 1
};

class Pagination : public EngineTest {
protected:
    // A document of lines with the given row counts, as breaking leaves it.
    void makeDocument(const std::vector<int32_t>& rowCounts,
                      const std::vector<size_t>& formFeedAfter = {}) {
        clearLineList();
        totalRows = 0;
        for (int32_t rows : rowCounts) {
            appendLineText(tail, 0, "x", 1);
            tail->rowCount = rows;
            totalRows += rows;
        }
        for (size_t i : formFeedAfter) documentLines()[i]->pageBreakAfter = 1;
    }

    void expectPages(const std::vector<Start>& expected) {
        std::vector<LineNode*> lines = documentLines();
        ASSERT_EQ(pageCount, int32_t(expected.size()));
        ASSERT_NE(pages, nullptr);
        for (size_t p = 0; p < expected.size(); ++p) {
            EXPECT_EQ(pages[p].firstLine, lines[expected[p].line]) << "page " << p;
            EXPECT_EQ(pages[p].firstRow, expected[p].row) << "page " << p;
        }
    }
};

TEST_F(Pagination, NoDocumentHasNoPages) {
    currentPage = 5;
    EXPECT_EQ(paginate(60), 0);
    EXPECT_EQ(pageCount, 0);
    EXPECT_EQ(pages, nullptr);
    EXPECT_EQ(currentPage, 5);

    // Pages of an earlier document go, too.
    makeDocument({3});
    ASSERT_EQ(paginate(2), 2);
    makeDocument({});
    EXPECT_EQ(paginate(2), 0);
    EXPECT_EQ(pages, nullptr);
}

TEST_F(Pagination, RowsFlowAcrossLinesAndPages) {
    makeDocument({2, 2, 2});
    EXPECT_EQ(paginate(3), 2);
    expectPages({{0, 1}, {1, 2}});

    makeDocument({5});
    EXPECT_EQ(paginate(2), 3);
    expectPages({{0, 1}, {0, 3}, {0, 5}});

    // A page that ends with a line is followed by the next line's first row.
    makeDocument({2, 2, 1});
    EXPECT_EQ(paginate(2), 3);
    expectPages({{0, 1}, {1, 1}, {2, 1}});

    makeDocument({1, 1});
    EXPECT_EQ(paginate(1), 2);
    expectPages({{0, 1}, {1, 1}});
}

TEST_F(Pagination, FormFeedStartsTheNextLineOnANewPage) {
    makeDocument(std::vector<int32_t>(10, 1), {0});
    EXPECT_EQ(paginate(50), 2);
    expectPages({{0, 1}, {1, 1}});

    // Ending exactly at a page end gives no empty page.
    makeDocument({1, 1, 1}, {1});
    EXPECT_EQ(paginate(2), 2);
    expectPages({{0, 1}, {2, 1}});

    // A long line after a form feed still moves on R rows a page.
    makeDocument({1, 5}, {0});
    EXPECT_EQ(paginate(2), 4);
    expectPages({{0, 1}, {1, 1}, {1, 3}, {1, 5}});
}

TEST_F(Pagination, TwoFormFeedsMakeAPageOfOneEmptyRow) {
    ASSERT_EQ(loadBytes("a\f\fb"), 1);
    breakAllLines(80);
    EXPECT_EQ(paginate(60), 3);
    expectPages({{0, 1}, {1, 1}, {2, 1}});
    EXPECT_EQ(pages[1].firstLine->length, 0);
}

TEST_F(Pagination, PageOnDisplayIsPulledIntoRange) {
    makeDocument({2, 2, 2});
    currentPage = 7;
    EXPECT_EQ(paginate(2), 3);
    EXPECT_EQ(currentPage, 2);
    currentPage = 1;
    paginate(2);
    EXPECT_EQ(currentPage, 1);
}

TEST_F(Pagination, RunningOutOfMemoryLeavesNoTable) {
    makeDocument({2, 2, 2});
    struct Expected {
        int failing;
        int32_t pageCount;
    };
    // The first entry, then the table's growth for page 2.
    for (Expected e : {Expected{1, 1}, Expected{2, 2}}) {
        SCOPED_TRACE(e.failing);
        currentPage = 7;
        failAllocation(e.failing);
        EXPECT_EQ(paginate(2), 0);
        allocationFailureHook = nullptr;
        EXPECT_EQ(pages, nullptr);
        EXPECT_EQ(pageCount, e.pageCount);
        EXPECT_EQ(currentPage, 7);
    }
    currentPage = 0;
    EXPECT_EQ(paginate(2), 3);
    expectPages({{0, 1}, {1, 1}, {2, 1}});
}

}  // namespace
