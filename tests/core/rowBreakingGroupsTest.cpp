// Crossing the middle of rows eight bytes at a time must give exactly the
// rows that stepping character by character gives.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/rowBreaking.h"

namespace {

std::string randomLine(std::mt19937& random) {
    static const char* pieces[] = {
        "word", "x", "Version2", " ", "\t", "\x82\xa0", "\x82\xa2", "\x88\x9f",  // あ い 亜
        "\x81\x42", "\x81\x41", "\x81\x75", "\x81\x76",                          // 。、「」
        "\xb1", "\xa4", "(", ")", ".", "\x81\x40", "\x95\x5c", "\x83\x41",      // ｱ ､ 全角空白 表 ア
    };
    std::string line;
    int count = int(random() % 120);
    for (int i = 0; i < count; ++i) line += pieces[random() % (sizeof pieces / sizeof *pieces)];
    if (random() % 5 == 0) line += '\x82';  // a lead byte at the very end
    return line;
}

struct Rows {
    int32_t rowCount, charCount;
    std::vector<std::pair<long, int32_t>> rows;
    bool operator==(const Rows& other) const {
        return rowCount == other.rowCount && charCount == other.charCount && rows == other.rows;
    }
};

std::vector<Rows> breakWith(int byGroups, int32_t columns) {
    rowBreakingByGroups = byGroups;
    breakAllLines(columns);
    rowBreakingByGroups = 1;
    std::vector<Rows> result;
    for (LineNode* line = head; line; line = line->next) {
        Rows rows{line->rowCount, line->charCount, {}};
        for (int32_t k = 0; k < line->rowCount; ++k)
            rows.rows.push_back({long(line->rows[k].start - line->text), line->rows[k].charCount});
        result.push_back(rows);
    }
    return result;
}

TEST(RowBreakingByGroups, SameRowsAsCharacterByCharacter) {
    std::mt19937 random(20261207);
    for (int i = 0; i < 1500; ++i) {
        std::string text = randomLine(random);
        appendLineText(tail, 0, text.data(), int32_t(text.size()));
    }
    const int32_t columnCounts[] = {4, 5, 7, 8, 9, 10, 15, 16, 17, 40, 80, 81};
    for (int settings = 0; settings < 4; ++settings) {
        layoutSettings.wordWrap = settings & 1;
        layoutSettings.kinsoku = (settings >> 1) & 1;
        for (int32_t columns : columnCounts) {
            for (int32_t tab : {1, 4, 8}) {
                layoutSettings.tabCount = tab;
                ASSERT_TRUE(breakWith(1, columns) == breakWith(0, columns))
                    << "columns " << columns << " tab " << tab << " settings " << settings;
            }
        }
    }
    layoutSettings.wordWrap = layoutSettings.kinsoku = 0;
    layoutSettings.tabCount = 4;
    clearLineList();
}

}  // namespace
