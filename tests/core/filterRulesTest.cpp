// Filter rules on Shift_JIS bytes. ア is 83 41 and ヂ 83 61, so a folded
// trail byte would make them equal; ソ ends in the byte of "\".
#include <gtest/gtest.h>

#include <cstring>

#include "filter/filterRules.h"

namespace {

TEST(FilterRules, FolderAndSuffixTests) {
    const struct { const char* path; const char* rule; int folder, suffix; } cases[] = {
        {"a.txt", ".TXT", 0, 1}, {"atxt", "txt", 0, 1}, {"atxt", ".txt", 0, 0},
        {"x.html", ".htm, .html", 0, 1}, {"x.html", ".htm .html", 0, 1},
        {"x.c", "\t,\n .h,,.c ", 0, 1},
        {"a.txt", "", 1, 1}, {"a.txt", " , ", 0, 0}, {"c", "abc", 0, 0}, {"a\\", "\\", 0, 1},
        {"C:\\documents\\a.txt", "c:\\DOC", 1, 0}, {"c:\\\x83\x41\\a.TXT", "C:\\\x83\x41", 1, 0},
        {"c:\\\x83\x61\\a.txt", "C:\\\x83\x41", 0, 0}, {"\x83\x41.txt", "\x83\x41.TXT", 1, 1},
        {"\x83\x61.txt", "\x83\x41.TXT", 0, 0}, {"\x83\x41", "\x83", 0, 0},
        {"a\x83\x5C", "\\", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(startsWithFolder(c.path, c.rule), c.folder) << c.path << " | " << c.rule;
        EXPECT_EQ(matchesSuffixes(c.path, c.rule), c.suffix) << c.path << " | " << c.rule;
    }
}

TEST(FilterRules, SectionCountIsUnsignedAndLimited) {
    const uint32_t cases[][2] = {{0, 0}, {3, 3}, {10, 10}, {12, 10}, {uint32_t(-1), 10}};
    for (const auto& c : cases) EXPECT_EQ(limitFilterCount(c[0]), c[1]) << c[0];
}

TEST(FilterRules, FirstTabCodeBecomesTheTabWidthWhenItFits) {
    const struct { const char* command; int size, tab, ok; const char* expanded; } cases[] = {
        {"conv -t&T -x&T", 260, 8, 1, "conv -t8 -x&T"}, {"conv", 260, 8, 1, "conv"},
        {"&T", 260, 12, 1, "12"}, {"a&t &", 260, 8, 1, "a&t &"}, {"\x81&T", 260, 8, 1, "\x81&T"},
        {"x&Ty", 5, 10, 1, "x10y"}, {"x&Ty", 4, 10, 0, "x&Ty"}, {"&T", 3, 100, 0, "&T"},
    };
    for (const auto& c : cases) {
        char command[300];
        strcpy(command, c.command);
        EXPECT_EQ(expandTabCode(command, c.size, c.tab), c.ok) << c.command;
        EXPECT_STREQ(command, c.expanded);
    }
}

TEST(FilterRules, RulesFileIsTheModulePathWithItsLastNineCharactersReplaced) {
    const struct { const char* module; int size; const char* config; } cases[] = {
        {"C:\\p\\pemoPrint.exe", 260, "C:\\p\\pemo.ini"}, {"rint.exe", 260, ""},
        {"abcdPrint.exe", 9, "abcd.ini"}, {"abcdPrint.exe", 8, ""}};
    for (const auto& c : cases) {
        char config[260] = "";
        EXPECT_EQ(makeConfigPath(c.module, config, c.size), c.config[0] != 0) << c.module;
        EXPECT_STREQ(config, c.config);
    }
}

}  // namespace
