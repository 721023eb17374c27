// Row breaking: cells, tab stops, word wrap and the kinsoku rules.
#include <random>

#include "coreTestSupport.h"
#include "layout/characterGroups.h"

extern "C" size_t __sanitizer_get_current_allocated_bytes();  // the tests run under the sanitizer

namespace {

bool cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The rows as UTF-8 joined by "|"; checks that they tile the line and that every character count is right.
std::string rowsOf(const LineNode* line, bool readable = true) {
    std::string out;
    int32_t total = 0;
    EXPECT_EQ(line->rows != nullptr, line->rowCount > 1) << "a table for a line of many rows only";
    for (int32_t k = 0; k < line->rowCount; ++k) {
        const char *begin = rowOf(line, k).start;
        const char* end = k + 1 < line->rowCount ? rowOf(line, k + 1).start : line->text + line->length;
        int32_t chars = 0;
        for (const char* p = begin; p < end; ++chars) p += cp932Lead(*p) && p[1] ? 2 : 1;
        EXPECT_EQ(rowOf(line, k).charCount, chars) << "row " << k;
        EXPECT_TRUE(begin < end || !line->length) << "empty row " << k;
        total += chars;
        std::string row(begin, end);
        out += (k ? "|" : "") + (readable ? utf8(row) : row);
    }
    EXPECT_EQ(line->charCount, total);
    return out;
}

using RowBreaking = EngineTest;

TEST_F(RowBreaking, Rules) {
    // Switches: "w" word wrap, "k" kinsoku. Text in UTF-8, made CP932. ぃ ends in byte A3, which
    // alone is ｣; v is the trail byte of 」.
    const struct { int columns, tab; const char *switches, *text, *rows; } cases[] = {
        {4, 4, "", "abcあxyz", "abc|あxy|z"}, {4, 4, "", "ｱｲｳｴｵ", "ｱｲｳｴ|ｵ"},
        {10, 8, "", "abcdefghi\tj", "abcdefghi\t|j"}, {5, 8, "", "\tab", "\t|ab"},
        {6, 4, "", "abcdefg\txyz", "abcdef|g\txy|z"}, {5, 4, "w", "hello world wide", "hello| |world| wide"},
        {4, 4, "w", "ab abcde", "ab a|bcde"},
        {5, 4, "w", "a-bcdef", "a-|bcdef"}, {4, 4, "k", "あい」。", "あ|い」。"},
        {4, 4, "k", "あ「い", "あ|「い"}, {2, 4, "k", "あ」", "あ|」"},
        {5, 4, "wk", "abcde)", "abcde|)"}, {5, 4, "k", "abcde)", "abcd|e)"},
        {8, 8, "k", "abcdefg\t」", "abcdefg\t|」"}, {6, 4, "k", "abcde\t」", "abcde|\t」"}, {5, 4, "k", "abcd\t)", "abcd|\t)"},
        {4, 4, "k", "ｱｲｳｴ｣", "ｱｲｳ|ｴ｣"},
        {4, 4, "k", "あいぃ", "あい|ぃ"}, {4, 4, "k", "abcdv", "abcd|v"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " at " << c.columns << " " << c.switches);
        layoutSettings.tabCount = c.tab;
        layoutSettings.wordWrap = strchr(c.switches, 'w') != nullptr;
        layoutSettings.kinsoku = strchr(c.switches, 'k') != nullptr;
        ASSERT_EQ(loadText(sjis(c.text)), 1);
        breakAllLines(c.columns);
        EXPECT_EQ(rowsOf(head), c.rows);
    }
    const int32_t tabs[][4] = {{1, 4, 10, 3}, {9, 8, 10, 1}, {0, 8, 5, 5}, {12, 4, 10, 1}, {3, 0, 80, 1}, {5, 1, 80, 1}, {2, -3, 80, 2}};
    for (const auto& t : tabs) EXPECT_EQ(tabAdvance(t[0], t[1], t[2]), t[3]) << t[0] << " " << t[1];  // used, stop, columns
}

// Lines of random words, punctuation and kana, some ending in a lead byte.
std::string randomLines(int count) {
    static const char* pieces[] = {"word", "x", "Version2", " ", "\t", "あ", "亜", "。", "、", "「", "」",
                                   "ｱ", "､", "(", ")", ".", ",", "　", "表", "ア", "ぃ"};
    std::mt19937 random(932);
    std::string text;
    for (int i = 0; i < count; ++i) {
        for (int k = int(random() % 120); k > 0; --k) text += sjis(pieces[random() % 21]);
        text += random() % 5 == 0 ? "\x82\n" : "\n";
    }
    return text;
}

// Every byte above 0x7F, lead byte or not, at each of the eight places of a group before a kanji,
// and a tab at each place: the edges of the lead-byte ranges and of the group tests.
std::string edgeLines() {
    std::string text;
    for (int at = 0; at < 8; ++at) {
        for (int byte = 0x80; byte <= 0xFF; ++byte) text += std::string(size_t(at), 'a') + char(byte) + "\x88\x9f" + "bcdefghij\n";
        text += std::string(size_t(at), 'a') + "\t" + std::string(12, 'b') + "\n";
    }
    return text;
}

// Crossing rows eight bytes at a time, and counting lines that surely fit, give the rows of
// stepping by characters, for random lines and edges under every switch.
TEST_F(RowBreaking, ByGroupsAsByCharacters) {
    ASSERT_EQ(loadText(randomLines(200) + edgeLines()), 1);
    ASSERT_EQ(groupTables().leadRanges, 2);  // lead bytes found eight at a time
    for (int32_t columns : {4, 5, 7, 9, 16, 80}) {
        for (int settings = 0; settings < 12; ++settings) {
            layoutSettings.wordWrap = settings & 1, layoutSettings.kinsoku = settings >> 1 & 1;
            layoutSettings.tabCount = settings < 4 ? 4 : settings < 8 ? 1 : 8;
            std::string rows[2];
            for (int byGroups : {0, 1}) {
                rowBreakingByGroups = byGroups;
                breakAllLines(columns);
                for (LineNode* line = head; line; line = line->next) rows[byGroups] += rowsOf(line, false) + "\n";
            }
            ASSERT_EQ(rows[0], rows[1]) << columns << " columns, settings " << settings;
        }
    }
}

// A document long enough to be broken on two threads gets the rows that its lines get in a
// short one. Breaking it again, as a change of font or paper does, keeps to its size, and
// the next load gives its memory back.
TEST_F(RowBreaking, LongDocumentsAsShortOnes) {
    layoutSettings.wordWrap = layoutSettings.kinsoku = 1;
    const std::string text = randomLines(200);
    std::vector<std::string> expected;
    ASSERT_EQ(loadText(text), 1);
    breakAllLines(9);
    for (LineNode* line = head; line->next; line = line->next) expected.push_back(rowsOf(line, false));
    std::string repeated;
    for (int i = 0; i < 330; ++i) repeated += text;
    clearLineList();
    const size_t before = __sanitizer_get_current_allocated_bytes();
    ASSERT_EQ(loadText(repeated), 1);
    breakAllLines(9);
    const std::pair<size_t, int32_t> broken(__sanitizer_get_current_allocated_bytes(), totalRows);
    for (int32_t columns : {80, 9, 4, 9}) breakAllLines(columns);
    EXPECT_TRUE(std::pair(__sanitizer_get_current_allocated_bytes(), totalRows) == broken && broken.second > 66000) << broken.second;
    size_t k = 0;
    for (LineNode* line = head; line->next; line = line->next, ++k) ASSERT_EQ(rowsOf(line, false), expected[k % 200]) << k;
    ASSERT_EQ(loadText("a"), 1);
    EXPECT_LT(__sanitizer_get_current_allocated_bytes() - before, (broken.first - before) / 4);
}

}  // namespace
