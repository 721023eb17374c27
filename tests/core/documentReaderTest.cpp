// The loader: line ends, form feeds, 512-byte blocks, read and memory failures.
#include "engineFixture.h"

namespace {

struct Line {
    std::string text;
    int number;
    int pageBreak;
};

void expectDocument(const std::vector<Line>& expected) {
    std::vector<LineNode*> lines = documentLines();
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(tail, lines.back());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lineText(lines[i]), expected[i].text) << "line " << i;
        EXPECT_EQ(lines[i]->lineNumber, expected[i].number) << "line " << i;
        EXPECT_EQ(lines[i]->pageBreakAfter, expected[i].pageBreak) << "line " << i;
        EXPECT_EQ(lines[i]->prev, i ? lines[i - 1] : nullptr) << "line " << i;
    }
}

using DocumentReader = EngineTest;

TEST_F(DocumentReader, EmptyInputIsOneEmptyLine) {
    ASSERT_EQ(loadBytes(""), 1);
    expectDocument({{"", 1, 0}});
    EXPECT_EQ(head->rowCount, 1);
}

TEST_F(DocumentReader, TextWithoutTerminatorIsOneLine) {
    ASSERT_EQ(loadBytes("abc"), 1);
    expectDocument({{"abc", 1, 0}});
}

TEST_F(DocumentReader, FinalTerminatorAddsAnEmptyLine) {
    for (const char* end : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        ASSERT_EQ(loadBytes(std::string("abc") + end), 1);
        expectDocument({{"abc", 1, 0}, {"", 2, 0}});
    }
    ASSERT_EQ(loadBytes("abc\f"), 1);
    expectDocument({{"abc", 1, 1}, {"", 1, 0}});
}

TEST_F(DocumentReader, EachLineEndEndsOneLine) {
    ASSERT_EQ(loadBytes("a\r\nb\nc\rd"), 1);
    expectDocument({{"a", 1, 0}, {"b", 2, 0}, {"c", 3, 0}, {"d", 4, 0}});
    // LF then CR is two line ends, not a pair.
    ASSERT_EQ(loadBytes("a\n\rb"), 1);
    expectDocument({{"a", 1, 0}, {"", 2, 0}, {"b", 3, 0}});
    ASSERT_EQ(loadBytes("a\r\r\nb"), 1);
    expectDocument({{"a", 1, 0}, {"", 2, 0}, {"b", 3, 0}});
}

TEST_F(DocumentReader, NulBytesBecomeSpaces) {
    ASSERT_EQ(loadBytes(std::string("a\0b\0", 4) + "\n"), 1);
    expectDocument({{"a b ", 1, 0}, {"", 2, 0}});
    EXPECT_EQ(strlen(head->text), 4u);
}

TEST_F(DocumentReader, FormFeedEndsLineAndPageAndRepeatsTheNumber) {
    ASSERT_EQ(loadBytes("ab\fcd\n"), 1);
    expectDocument({{"ab", 1, 1}, {"cd", 1, 0}, {"", 2, 0}});
    // Right after CR LF, or a lone CR, the form feed ends an empty line.
    ASSERT_EQ(loadBytes("ab\r\n\fcd\r\fe"), 1);
    expectDocument({{"ab", 1, 0}, {"", 2, 1}, {"cd", 2, 0}, {"", 3, 1}, {"e", 3, 0}});
    ASSERT_EQ(loadBytes("\f\f"), 1);
    expectDocument({{"", 1, 1}, {"", 1, 1}, {"", 1, 0}});
}

TEST_F(DocumentReader, CrLfCutBetweenBlocksEndsOneLine) {
    const std::string first(511, 'x');
    ASSERT_EQ(loadBytes(first + "\r\ny"), 1);
    expectDocument({{first, 1, 0}, {"y", 2, 0}});
    // The LF is the whole second block.
    ASSERT_EQ(loadBytes(first + "\r\n"), 1);
    expectDocument({{first, 1, 0}, {"", 2, 0}});
    // Only one LF belongs to the cut CR.
    ASSERT_EQ(loadBytes(first + "\r\n\ny"), 1);
    expectDocument({{first, 1, 0}, {"", 2, 0}, {"y", 3, 0}});
    ASSERT_EQ(loadBytes(first + "\ry"), 1);
    expectDocument({{first, 1, 0}, {"y", 2, 0}});
}

TEST_F(DocumentReader, LinesAndCharactersSpanningBlocksStayWhole) {
    std::string longLine;
    for (int i = 0; i < 1300; ++i) longLine += char('a' + i % 26);
    ASSERT_EQ(loadBytes(longLine + "\r\nz"), 1);
    expectDocument({{longLine, 1, 0}, {"z", 2, 0}});

    // あ falls on bytes 512 and 513: the line holds it whole, one character.
    const std::string split = std::string(511, 'a') + sjis("あ") + "b";
    ASSERT_EQ(loadBytes(split), 1);
    expectDocument({{split, 1, 0}});
    breakAllLines(1000);
    EXPECT_EQ(head->charCount, 513);
}

TEST_F(DocumentReader, ShortBlockIsTheLastOne) {
    MemorySource source;
    source.bytes = "abc\ndef";
    source.chunks = {4};
    ASSERT_EQ(source.load(), 1);
    EXPECT_EQ(source.reads, 1);
    expectDocument({{"abc", 1, 0}, {"", 2, 0}});
}

TEST_F(DocumentReader, FailedReadAfterFullBlockEndsTheInput) {
    const std::string block(512, 'q');
    ASSERT_EQ(loadBytes(block, 2), 1);
    expectDocument({{block, 1, 0}});
    ASSERT_EQ(loadBytes(block + std::string(511, 'r') + "\n", 3), 1);
    expectDocument({{block + std::string(511, 'r'), 1, 0}, {"", 2, 0}});
}

TEST_F(DocumentReader, FailedFirstReadFailsAndLeavesNoLines) {
    ASSERT_EQ(loadBytes("old\ntext"), 1);
    EXPECT_EQ(loadBytes("abc", 1), 0);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(loadBytes("", 1), 0);
}

// Fails each allocation of a load in turn: every one must fail the load,
// leave a consistent list that layout can still walk, and leak nothing.
TEST_F(DocumentReader, EveryAllocationFailureFailsTheLoadCleanly) {
    const std::string input = std::string(600, 'x') + "\r\nab\fcd\n";
    failAllocation(0);
    ASSERT_EQ(loadBytes(input), 1);
    const int allocations = allocationsSeen;
    ASSERT_GE(allocations, 6);

    for (int failing = 1; failing <= allocations; ++failing) {
        SCOPED_TRACE(failing);
        failAllocation(failing);
        EXPECT_EQ(loadBytes(input), 0);
        allocationFailureHook = nullptr;
        if (failing == allocations) {  // only the final empty line is missing
            EXPECT_EQ(documentLines().size(), 3u);
            EXPECT_EQ(lineText(tail), "cd");
        }
        LineNode* last = nullptr;
        for (LineNode* line = head; line; line = line->next) {
            EXPECT_EQ(line->prev, last);
            last = line;
        }
        EXPECT_EQ(tail, last);
        breakAllLines(80);
        paginate(60);
    }
    failAllocation(allocations + 1);
    EXPECT_EQ(loadBytes(input), 1);
}

}  // namespace
