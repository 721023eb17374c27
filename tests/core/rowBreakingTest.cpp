// Row breaking: cells, tabs, word wrap and kinsoku, row tables and totals.
#include <random>

#include "engineFixture.h"

namespace {

struct Case {
    const char* name;
    int columns;
    int tabCount;
    int wordWrap;
    int kinsoku;
    std::string text;               // CP932 bytes
    std::vector<std::string> rows;  // UTF-8, or raw bytes that are not CP932
};

enum { OFF = 0, ON = 1 };

class RowBreaking : public EngineTest {
protected:
    // Makes `text` the only line and breaks it.
    LineNode* breakText(const std::string& text, int columns) {
        clearLineList();
        appendLineText(nullptr, 0, text.data(), int32_t(text.size()));
        breakAllLines(columns);
        return head;
    }

    void runCases(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            layoutSettings.tabCount = c.tabCount;
            layoutSettings.wordWrap = c.wordWrap;
            layoutSettings.kinsoku = c.kinsoku;
            LineNode* line = breakText(c.text, c.columns);
            EXPECT_EQ(rowTexts(line), c.rows);
            expectRowsTileLine(line);
        }
    }
};

TEST_F(RowBreaking, WorkedExamples) {
    runCases({
        {"plain", 4, 4, OFF, OFF, "abcdefghij", {"abcd", "efgh", "ij"}},
        {"word moves", 10, 4, ON, OFF, "hello world wide", {"hello ", "world wide"}},
        {"word too long", 4, 4, ON, OFF, "abcdefghij", {"abcd", "efgh", "ij"}},
        {"line start carries", 4, 4, OFF, ON, sjis("あい」"), {"あ", "い」"}},
        {"hangs", 4, 4, OFF, ON, sjis("あい。う"), {"あい。", "う"}},
        {"line end carried", 4, 4, OFF, ON, sjis("あ「い"), {"あ", "「い"}},
        {"one carry only", 4, 4, OFF, ON, sjis("あい」」"), {"あ", "い」", "」"}},
        {"wrap off carries e", 5, 4, OFF, ON, "abcde)", {"abcd", "e)"}},
        {"wrap on keeps word", 5, 4, ON, ON, "abcde)", {"abcde", ")"}},
        {"tab to stop", 10, 4, OFF, OFF, "a\tb", {"a\tb"}},
        {"tab clamped", 10, 8, OFF, OFF, "abcdefghi\tj", {"abcdefghi\t", "j"}},
        {"tab not carried", 8, 8, OFF, ON, sjis("abcdefg\t」"), {"abcdefg\t", "」"}},
    });
}

TEST_F(RowBreaking, WidthsAtTheMargin) {
    runCases({
        {"exactly full", 4, 4, OFF, OFF, "abcd", {"abcd"}},
        {"exactly full, double-byte", 4, 4, OFF, OFF, sjis("あい"), {"あい"}},
        {"double-byte at last column moves", 4, 4, OFF, OFF, sjis("abcあ"), {"abc", "あ"}},
        {"lone lead byte is one column", 4, 4, OFF, OFF, "abc\x82", {"abc\x82"}},
        {"half-width kana one column", 4, 4, OFF, OFF, sjis("ｱｲｳｴ"), {"ｱｲｳｴ"}},
        {"tab at row start", 5, 8, OFF, OFF, "\tab", {"\t", "ab"}},
        {"tab stops per row", 6, 4, OFF, OFF, "abcdefg\txyz", {"abcdef", "g\txy", "z"}},
    });
}

TEST_F(RowBreaking, HangingCharacters) {
    runCases({
        {"one past", 4, 4, OFF, ON, "abcd,e", {"abcd,", "e"}},
        {"two past", 4, 4, OFF, ON, sjis("abcd、e"), {"abcd、", "e"}},
        // After a hang the next character starts a row, whatever the rules say.
        {"line start after hang", 4, 4, OFF, ON, "abcd,)", {"abcd,", ")"}},
        {"only one hangs", 4, 4, OFF, ON, "abcd,,", {"abcd,", ","}},
        {"no hang without kinsoku", 4, 4, OFF, OFF, "abcd,", {"abcd", ","}},
    });
}

TEST_F(RowBreaking, WordWrap) {
    runCases({
        {"exactly columns long moves", 4, 4, ON, OFF, "ab abcd", {"ab ", "abcd"}},
        {"longer is split", 4, 4, ON, OFF, "ab abcde", {"ab a", "bcde"}},
        {"digits and underscore", 6, 4, ON, OFF, "xy a_9b", {"xy ", "a_9b"}},
        {"double-byte ends a word", 5, 4, ON, OFF, sjis("abあcd"), {"abあ", "cd"}},
        // With kinsoku a one-letter word is carried under the line-start rule.
        {"one-letter word carried", 5, 4, ON, ON, "abc e)", {"abc ", "e)"}},
    });
}

TEST_F(RowBreaking, KinsokuSetsMatchWholeCharacters) {
    runCases({
        {"half-width kana in the set", 4, 4, OFF, ON, sjis("ｱｲｳｴ｣"), {"ｱｲｳ", "ｴ｣"}},
        // ぃ ends in byte A3 (｣) and v is the second byte of 」: neither is in a set.
        {"trail byte is not a set member", 4, 4, OFF, ON, sjis("あいぃ"), {"あい", "ぃ"}},
        {"single byte is not a trail byte", 4, 4, OFF, ON, "abcdv", {"abcd", "v"}},
    });
}

TEST_F(RowBreaking, RulesFollowTheConfiguredSets) {
    // A character in both the hanging and the line-start set hangs.
    copyKinsokuSet(layoutSettings.kinsokuLineStart, ".");
    // A tab may be forbidden at a row end; it is carried only when it fits.
    copyKinsokuSet(layoutSettings.kinsokuLineEnd, "\t");
    runCases({
        {"hanging wins", 4, 4, OFF, ON, "abcd.", {"abcd."}},
        {"tab carried", 8, 4, OFF, ON, "abcdefg\tx", {"abcdefg", "\tx"}},
        {"tab too wide to carry", 8, 8, OFF, ON, "abcdefg\tx", {"abcdefg\t", "x"}},
        {"default sets replaced", 4, 4, OFF, ON, sjis("あい」"), {"あい", "」"}},
    });
}

TEST_F(RowBreaking, EmptyLineIsOneEmptyRowAtItsNul) {
    LineNode* line = breakText("", 4);
    EXPECT_EQ(line->rowCount, 1);
    EXPECT_EQ(line->charCount, 0);
    ASSERT_NE(line->rows, nullptr);
    EXPECT_EQ(line->rows[0].start, line->text);
    EXPECT_EQ(line->rows[0].charCount, 0);
}

TEST_F(RowBreaking, RebreakingReplacesRowsAndTotal) {
    ASSERT_EQ(loadBytes(std::string(20, 'a') + "\n" + sjis("あいうえお")), 1);
    for (int columns : {100, 4, 7, 6, 100, 5}) {
        SCOPED_TRACE(columns);
        breakAllLines(columns);
        const int first = (20 + columns - 1) / columns;
        const int perRow = columns / 2;  // five double-byte characters
        const int second = (5 + perRow - 1) / perRow;
        EXPECT_EQ(head->rowCount, first);
        EXPECT_EQ(tail->rowCount, second);
        EXPECT_EQ(totalRows, first + second);
        EXPECT_EQ(layoutSettings.columns, columns);
        expectRowsTileLine(head);
        expectRowsTileLine(tail);
    }
    clearLineList();
    breakAllLines(10);
    EXPECT_EQ(totalRows, 0);
}

TEST_F(RowBreaking, AppendRowSpanCountsCharactersSinceEarlierRows) {
    LineNode* line = appendLineText(nullptr, 0, "abcdef", 6);
    ASSERT_EQ(appendRowSpan(line, 0, line->text, 2), 1);
    ASSERT_EQ(appendRowSpan(line, 1, line->text + 2, 5), 1);
    ASSERT_EQ(appendRowSpan(line, 2, line->text + 5, 6), 1);
    EXPECT_EQ(line->rows[0].charCount, 2);
    EXPECT_EQ(line->rows[1].charCount, 3);
    EXPECT_EQ(line->rows[2].charCount, 1);
    EXPECT_EQ(line->rows[2].start, line->text + 5);
}

// Rows of "abcdefghij" at 4 columns end after 4, 8 and 10 characters.
TEST_F(RowBreaking, RowTableFailureStopsOnlyThatLine) {
    ASSERT_EQ(loadBytes("abcdefghij\nxyz"), 1);
    struct Expected {
        int failing, rowCount, charCount;
    };
    for (Expected e : {Expected{1, 1, 4}, Expected{2, 2, 8}, Expected{3, 3, 10}}) {
        SCOPED_TRACE(e.failing);
        breakAllLines(100);  // a used row table, as on a change of columns
        failAllocation(e.failing);
        breakAllLines(4);
        allocationFailureHook = nullptr;
        EXPECT_EQ(head->rows, nullptr);
        EXPECT_EQ(head->rowCount, e.rowCount);
        EXPECT_EQ(head->charCount, e.charCount);
        EXPECT_EQ(rowTexts(tail), std::vector<std::string>{"xyz"});
        EXPECT_EQ(totalRows, e.rowCount + 1);
    }
    breakAllLines(4);  // and the line recovers once memory is back
    EXPECT_EQ(rowTexts(head), (std::vector<std::string>{"abcd", "efgh", "ij"}));
}

TEST_F(RowBreaking, TabAdvanceStopsAtTheMargin) {
    EXPECT_EQ(tabAdvance(1, 4, 10), 3);
    EXPECT_EQ(tabAdvance(4, 4, 10), 4);
    EXPECT_EQ(tabAdvance(9, 8, 10), 1);   // clamped to the room left
    EXPECT_EQ(tabAdvance(0, 8, 5), 5);    // wider than the row
    EXPECT_EQ(tabAdvance(10, 4, 10), 1);  // at the margin
    EXPECT_EQ(tabAdvance(12, 4, 10), 1);  // past it, after a hanging character
}

TEST_F(RowBreaking, CharacterTests) {
    EXPECT_EQ(isDoubleByte(nullptr), 0);
    EXPECT_EQ(isDoubleByte("\x82\xa0"), 1);
    EXPECT_EQ(isDoubleByte("\x82"), 0);
    EXPECT_EQ(isDoubleByte("\xb1\xb2"), 0);  // half-width kana
    EXPECT_EQ(wordRunLength("a_Z9-b"), 4);
    EXPECT_EQ(wordRunLength(" ab"), 0);
    EXPECT_EQ(wordRunLength("ab\xe9"), 2);
}

// Random lines under every switch: rows must tile the line and stay inside
// the margin, except by one hanging character at a row's end.
TEST_F(RowBreaking, RandomLinesKeepTheRowInvariants) {
    std::vector<std::string> alphabet;
    for (const char* c :
         {"a", "b", "1", " ", "\t", ")", "(", ",", "ｱ", "｣", "あ", "」", "「", "、", "ぃ"})
        alphabet.push_back(sjis(c));
    const std::string comma = ",", ideographicComma = sjis("、");

    std::mt19937 random(932);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (int i = int(random() % 40); i > 0; --i) text += alphabet[random() % alphabet.size()];
        const int columns = 4 + int(random() % 9);
        const int tab = 1 + int(random() % 10);
        layoutSettings.tabCount = tab;
        layoutSettings.wordWrap = int(random() % 2);
        layoutSettings.kinsoku = int(random() % 2);
        SCOPED_TRACE(testing::Message() << testing::PrintToString(text) << " columns " << columns
                                        << " tab " << tab << " wrap " << layoutSettings.wordWrap
                                        << " kinsoku " << layoutSettings.kinsoku);
        LineNode* line = breakText(text, columns);
        ASSERT_NO_FATAL_FAILURE(expectRowsTileLine(line));
        for (int32_t k = 0; k < line->rowCount; ++k) {
            const char* end =
                k + 1 < line->rowCount ? line->rows[k + 1].start : line->text + line->length;
            int width = 0, lastWidth = 0;
            std::string last;
            for (const char* p = line->rows[k].start; p < end; p += last.size()) {
                last.assign(p, (cp932Lead((unsigned char)p[0]) && p[1]) ? 2 : 1);
                lastWidth = last != "\t"
                                ? int(last.size())
                                : std::max(1, std::min(tab - width % tab, columns - width));
                width += lastWidth;
            }
            if (width > columns) {
                EXPECT_TRUE(layoutSettings.kinsoku && (last == comma || last == ideographicComma))
                    << "row " << k << " is " << width << " wide";
                EXPECT_LE(width - lastWidth, columns) << "row " << k;
            }
        }
    }
}

}  // namespace
