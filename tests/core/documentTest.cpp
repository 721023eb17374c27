// Loading, pagination and the page walk: what a document's bytes become on each page, walked as the renderer draws.
#include "coreTestSupport.h"

namespace {

void drawCell(void* context, const char* bytes, int32_t count, int64_t column) {
    std::string& row = *static_cast<std::string*>(context);
    if (row.size() > size_t(column)) row += "!";      // cells overlap
    row.resize(std::max(row.size(), size_t(column)), '.');  // columns a tab skips
    row.append(bytes, size_t(count));
}

void drawRow(void* context, LineNode* line, int32_t rowIndex, int32_t rowOnPage) {
    std::string& page = *static_cast<std::string*>(context);
    if (rowOnPage > 0) page += "|";
    if (rowIndex == 0) page += std::to_string(line->lineNumber) + ":";
    std::string row;
    walkRowCells(line, rowIndex, drawCell, &row);
    page += row;
}

// Every page as the renderer walks it: rows joined by "|", a line's first row after its number, pages by " / ".
std::string drawnPages(int32_t rows) {
    std::string out;
    for (int32_t p = 0; p < pageCount; ++p) {
        if (p) out += " / ";
        walkPageRows(p, rows, drawRow, &out);
    }
    return utf8(out);
}

std::string layOut(const std::string& text, int32_t columns, int32_t rows) {
    if (!loadText(text)) return "load failed";
    breakAllLines(columns);
    paginate(rows);
    return drawnPages(rows);
}

using Document = EngineTest;

TEST_F(Document, LinesFromBytes) {
    const std::string x511(511, 'x');
    const struct { std::string bytes, lines; } cases[] = {
        {"", "1:"}, {"abc\n", "1:abc|2:"},
        {"abc\r\n", "1:abc|2:"}, {"abc\f", "1:abc^|1:"},
        {"a\r\nb\nc\rd", "1:a|2:b|3:c|4:d"}, {"a\r\r\nb", "1:a|2:|3:b"},
        {std::string("a\0b\0\n", 5), "1:a b |2:"},
        {"ab\r\n\fcd", "1:ab|2:^|2:cd"},
        // Line ends cut between the 512-byte blocks.
        {x511 + "\r\ny", "1:" + x511 + "|2:y"}, {x511 + "\r\n\ny", "1:" + x511 + "|2:|3:y"}, {x511 + "\ry", "1:" + x511 + "|2:y"},
        {x511 + "\f\n", "1:" + x511 + "^|1:|2:"}, {x511.substr(1) + "\r\ny", "1:" + x511.substr(1) + "|2:y"},
        {std::string(511, 'a') + sjis("あ") + "b", "1:" + std::string(511, 'a') + "あb"}};
    for (const auto& c : cases)
        EXPECT_EQ(loadText(c.bytes) ? describeLines() : "load failed", c.lines) << testing::PrintToString(c.bytes.substr(0, 40));
}

TEST_F(Document, ReadsEndAndFail) {
    MemorySource shortBlock{"abc\ndef", 4};  // a short block is the last one
    ASSERT_EQ(shortBlock.load(), 1);
    EXPECT_TRUE(describeLines() == "1:abc|2:" && shortBlock.reads == 1);
    const std::string block(512, 'q');  // a failed read fails the load, wherever it comes
    EXPECT_TRUE(loadText(block) && describeLines() == "1:" + block && !loadText(block + "r", 2));
    EXPECT_TRUE(!loadText(block + block, 3) && describeLines() == "1:" + block + block);
    EXPECT_TRUE(!loadText("abc", 1) && !head) << "a first read that fails leaves no document";
}

TEST_F(Document, RowsOnPages) {
    const struct { std::string text, pages; int32_t columns, rows; } cases[] = {
        {"aaaaaaaa\nbbbbbbbb\ncccccccc", "1:aaaa|aaaa|2:bbbb / bbbb|3:cccc|cccc", 4, 3},
        {std::string(20, 'a'), "1:aaaa|aaaa / aaaa|aaaa / aaaa", 4, 2},
        {"aaaaaaaa\nbbbbbbbb\nc", "1:aaaa|aaaa / 2:bbbb|bbbb / 3:c", 4, 2},
        {"a\f\fb", "1:a / 1: / 1:b", 4, 60}, {"a\f" + std::string(20, 'b'), "1:a / 1:bbbb|bbbb / bbbb|bbbb / bbbb", 4, 2},
        {"a\tb" + sjis("あ") + "c\n\tx", "1:a...bあc|2:....x", 20, 5}, {"a", "1:a", 4, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pages);
        currentPage = 3;
        EXPECT_EQ(layOut(c.text, c.columns, c.rows), c.pages);
        EXPECT_EQ(currentPage, pageCount - 1) << "the page on display stays inside the document";
    }
}

// Running out of memory at any allocation fails that step cleanly: a list
// that can still be drawn, nothing leaked, and the next attempt succeeds.
TEST_F(Document, EveryAllocationCanFail) {
    const std::string text = std::string(600, 'x') + "\r\nab\fcd\n" + std::string(30, 'y') + "\n";
    const std::string expected = layOut(text, 8, 4);
    for (int failing = 1;; ++failing) {
        SCOPED_TRACE(failing);
        failAllocation(failing);
        int loaded = loadText(text);
        EXPECT_EQ(loaded, allocationsSeen < failing);
        breakAllLines(8);
        for (LineNode* line = head; line; line = line->next) EXPECT_GE(line->rowCount, 1);
        int failedBefore = allocationsSeen >= failing, paginated = paginate(4);
        EXPECT_TRUE(failedBefore || allocationsSeen < failing || (paginated == 0 && !pages && !pageCount));
        allocationFailureHook = nullptr;
        drawnPages(4);  // whatever is left can be drawn
        if (allocationsSeen < failing) break;
    }
    EXPECT_TRUE(layOut(text, 8, 4) == expected && !paginate(0) && !pageCount && !pages);
}

}  // namespace
