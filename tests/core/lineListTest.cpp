// The line list: numbering of new lines and linking of appended text.
#include "engineFixture.h"

namespace {

using LineList = EngineTest;

TEST_F(LineList, NumbersFollowTheCounterUpAndDown) {
    LineNode* first = newLine();
    LineNode* second = newLine();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->lineNumber, 1);
    EXPECT_EQ(second->lineNumber, 2);
    EXPECT_EQ(second->text, nullptr);
    EXPECT_EQ(head, nullptr) << "a new node is not linked";

    EXPECT_EQ(freeLine(second), 1);
    EXPECT_EQ(lineCounter, 1);
    LineNode* third = newLine();
    EXPECT_EQ(third->lineNumber, 2) << "a freed number is given again";
    // Unlinked nodes are not reachable from the list, so free them here.
    freeLine(third);
    freeLine(first);
    EXPECT_EQ(lineCounter, 0);
}

TEST_F(LineList, EmptyLineHasOneRowOrIsNotMadeAtAll) {
    appendLineText(nullptr, 0, "a", 1);
    LineNode* line = newEmptyLine();
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line->text, "");
    EXPECT_EQ(line->length, 0);
    EXPECT_EQ(line->rowCount, 1);
    EXPECT_EQ(line->lineNumber, 2);
    EXPECT_EQ(tail, head) << "the caller links it";
    freeLine(line);

    for (int failing : {1, 2}) {  // the node, then its text
        failAllocation(failing);
        EXPECT_EQ(newEmptyLine(), nullptr) << "allocation " << failing;
        EXPECT_EQ(lineCounter, 1) << "allocation " << failing;
    }
}

TEST_F(LineList, AppendLinksNewLinesAfterTheTail) {
    LineNode* a = appendLineText(nullptr, 0, "ab", 2);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(head, a);
    EXPECT_EQ(tail, a);
    EXPECT_EQ(a->rowCount, 0) << "only row breaking sets rows of a text line";

    LineNode* b = appendLineText(a, 0, "cde", 3);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(head, a);
    EXPECT_EQ(tail, b);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->prev, a);
    EXPECT_EQ(b->lineNumber, 2);
    EXPECT_STREQ(b->text, "cde");
}

TEST_F(LineList, ContinuingAppendExtendsTheSameLine) {
    LineNode* a = appendLineText(nullptr, 0, "ab", 2);
    EXPECT_EQ(appendLineText(a, 1, "cdXX", 2), a);
    EXPECT_EQ(appendLineText(a, 1, "", 0), a);
    EXPECT_STREQ(a->text, "abcd");
    EXPECT_EQ(a->length, 4);
    EXPECT_EQ(a->next, nullptr);
    EXPECT_EQ(lineCounter, 1);

    // A line started with no bytes still gets a terminated text.
    LineNode* empty = appendLineText(a, 0, "", 0);
    ASSERT_NE(empty, nullptr);
    ASSERT_NE(empty->text, nullptr);
    EXPECT_STREQ(empty->text, "");
}

TEST_F(LineList, FailedGrowthKeepsTheLineLinkedAndItsText) {
    LineNode* a = appendLineText(nullptr, 0, "ab", 2);
    failAllocation(1);
    EXPECT_EQ(appendLineText(a, 1, "cd", 2), nullptr);
    EXPECT_STREQ(a->text, "ab");
    EXPECT_EQ(a->length, 2);

    // The new node is linked before its text is allocated.
    failAllocation(2);
    EXPECT_EQ(appendLineText(a, 0, "cd", 2), nullptr);
    ASSERT_NE(tail, a);
    EXPECT_EQ(tail->prev, a);
    EXPECT_EQ(a->next, tail);
    EXPECT_EQ(tail->text, nullptr);
}

}  // namespace
