// Re-breaking, as a change of font or paper does, replaces the row tables
// within the document's blocks: the document ends at the size it started at.
#include "engineFixture.h"

namespace {

using DocumentMemory = EngineTest;

// Short lines, lines of many rows, form feeds, double-byte text and a line
// longer than a block, broken a hundred times at two grids in turn.
TEST_F(DocumentMemory, ReBreakingDoesNotGrowTheDocument) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::string(size_t(i * 7 % 200), char('a' + i % 26)) + (i % 97 ? "\r\n" : "\f");
    text += sjis("あい「う」。") + std::string(100000, 'x');
    struct Grid {
        int32_t first, other;
    };
    for (Grid grid : {Grid{80, 7}, Grid{7, 80}}) {
        SCOPED_TRACE(grid.first);
        ASSERT_EQ(loadBytes(text), 1);
        breakAllLines(grid.first);
        const size_t size = documentBytes();
        const int32_t rows = totalRows;
        for (int i = 1; i <= 100; ++i) breakAllLines(i % 2 ? grid.other : grid.first);
        EXPECT_EQ(documentBytes(), size);
        EXPECT_EQ(totalRows, rows);
        for (LineNode* line = head; line; line = line->next) expectRowsTileLine(line);
    }
    ASSERT_EQ(loadBytes("a"), 1);  // the next load gives the blocks back
    EXPECT_LT(documentBytes(), 64u * 1024);
}

}  // namespace
