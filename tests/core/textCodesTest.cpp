// Texts from outside the layout: templates, the command line, filter rules and drop
// lists (ア is 83 41, ヂ 83 61: folding a trail byte makes them equal).
#include "coreTestSupport.h"
#include "app/dropList.h"
#include "document/commandLineScan.h"
#include "document/documentNames.h"
#include "filter/filterRules.h"
#include "filter/rulesText.h"
#include "layout/headerFooter.h"
#include "settings/registryValues.h"

namespace {

std::string expand(const std::string& text, int32_t size = EXPANDED_TEMPLATE_SIZE) {
    char out[EXPANDED_TEMPLATE_SIZE + 1];
    memset(out, 'X', sizeof out);
    expandTemplate(text.c_str(), out, size);
    EXPECT_EQ(out[size], 'X') << "wrote past the buffer";
    return out;
}

TEST(Templates, Expansion) {
    formatDateTime(2005, 3, 7, 9, 5);
    strcpy(documentTitle, "memo.txt");
    strcpy(documentPath, "C:\\docs\\memo.txt");
    setPageNumberTexts(1, 0);  // a document of no pages is one
    const struct { const char *text, *expanded; int32_t size; } cases[] = {
        {"Page &P of &A", "Page 1 of 1", 1024}, {"&D &T &F", "2005/3/7 9:05 memo.txt", 1024}, {"&d&&&&", "d&&", 1024},
        {"&\x95\x5c", "\x95\x5c", 1024},  // the "&" goes, 表 stays whole
        {"\x83&P", "\x83&P", 1024},  // "&" as a trail byte is no code
        // Pieces whole or not at all.
        {"ab&U tail", "ab", 10}, {"abc", "", 3}, {"Page &P of &A", "Page 1", 8}};
    for (const auto& c : cases) EXPECT_EQ(expand(c.text, c.size), c.expanded) << c.text;
    // A typed template is cut to whole characters: 亜 is 88 9F (a trail byte that could lead), 表 95 5C,
    // and a lone lead byte at the very end counts as one byte.
    const std::string cuts[][3] = {{"\x88\x9fg", "3", "\x88\x9f"}, {"ab\x95\x5c", "4", "ab"},
                                   {"abc\x95", "5", "abc\x95"}};
    for (const auto& c : cuts) {
        char cut[8] = "#######";
        copyWholeCharacters(cut, c[0].c_str(), std::stoi(c[1]));
        EXPECT_EQ(cut, c[2]) << c[0] << " in " << c[1];
    }
}

TEST(CommandLine, Scan) {
    const struct { const char *line, *name; int named, print; } cases[] = {
        {"", "", 0, 0}, {"/p", "", 0, 1},
        {"\"C:\\My Files\\memo.txt\" /p", "C:\\My Files\\memo.txt", 1, 1},
        {"C:\\My Files\\memo.txt", "C:\\My Files\\memo.txt", 1, 0},
        {"\"first.txt\" second.txt /P", "first.txt", 1, 1}, {"memo.txt/p", "memo.txt", 1, 1},
        {"d/memo.txt", "d", 1, 0},
        {"\"never closed.txt", "never closed.txt", 1, 0}, {"\"", "", 1, 0},
        {"\x95\x5c.txt", "\x95\x5c.txt", 1, 0}, {"\"\x83\x22.txt\"", "\x83\x22.txt", 1, 0},
        {"/p\x82\xa0.txt", "\x82\xa0.txt", 1, 1}, {"abc\x82", "abc\x82", 1, 0}, {"abcdefghijklmnopqrstu", "abcdefghijklmnopqrst", 1, 0}};
    for (const auto& c : cases) {
        CommandLineScan s = scanCommandLine(c.line);
        char name[21] = "";  // the longest name just fits
        if (s.hasName) copyBounded(c.line + s.nameStart, c.line + s.nameEnd, name, sizeof name);
        EXPECT_EQ(std::tuple(s.hasName, name, s.printAtOnce), std::tuple(c.named, std::string(c.name), c.print)) << c.line;
    }
    // After the program's name, in UTF-8; タ's last byte is BF.
    const char* line = skipProgramName(u8"\"C:\\a b\\p\"\t/p \"😀 éタ\"");
    const CommandLineScan s = scanCommandLine(line, startsUtf8Sequence);
    EXPECT_EQ(std::string(line + s.nameStart, line + s.nameEnd + 1), u8"😀 éタ");
}

// Values as stored: margins both ways, the orientation and numbers as read, and strings.
TEST(StoredValues, ReadAsWritten) {
    unsigned char margin[MARGIN_VALUE_SIZE];
    encodeMargins(MarginBox{2000, -1, 70000, 5}, margin);
    const std::vector<unsigned char> bytes(margin, margin + sizeof margin);  // nothing to read past
    MarginBox m{};
    EXPECT_TRUE(decodeMargins({VALUE_BINARY, bytes.data(), 16}, &m) && m.left == 2000 && m.top == -1 &&
                m.right == 70000 && m.bottom == 5 && !decodeMargins({VALUE_BINARY, bytes.data(), 15}, &m) &&
                !decodeDword({VALUE_BINARY, bytes.data(), 4}, &m.left));
    int16_t orientation = 0;
    const unsigned char stored[] = {1, 0, 2, 0, 3, 0};  // portrait, landscape, neither
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(decodeOrientation({VALUE_BINARY, stored + 2 * i, 2}, &orientation) == (i < 2) && orientation == 1 + (i > 0));
    char out[4];  // a string fits with its terminator, or is refused
    const unsigned char nul = 0, ab[] = {'a', 'b'}, aNulB[] = {'a', 0, 'b'};  // larger than the buffer: refused
    EXPECT_TRUE(decodeString({VALUE_SZ, &nul, 1}, out, 1) && !out[0] && !decodeString({VALUE_SZ, ab, 2}, out, 2) &&
                !decodeString({VALUE_BINARY, ab, 2}, out, 4) && !decodeString({VALUE_SZ, aNulB, 3}, out, 2));
    // A font as stored, its face name ended for it; the ranges of the stored numbers.
    std::vector<unsigned char> font(LOGFONT_VALUE_SIZE, 'x'), face(LOGFONT_VALUE_SIZE);
    EXPECT_TRUE(decodeLogFont({VALUE_BINARY, font.data(), 60}, face.data()) && face[58] == 'x' && !face[59] &&
                !decodeLogFont({VALUE_SZ, font.data(), 60}, face.data()) && isUsableTabCount(1) && !isUsableTabCount(0) &&
                isUsablePreviewScale(10000) && !isUsablePreviewScale(10001) && !isUsablePreviewScale(0) &&
                isUsablePointSize(10) && !isUsablePointSize(9) && !isUsablePointSize(10001));
}

TEST(FilterRules, FolderAndSuffixTests) {
    const struct { const char *path, *rule; int folder, suffix; } cases[] = {
        {"atxt", "txt", 0, 1},
        {"x.c", "\t .h,,.c\n,", 0, 1}, {"a.txt", "", 1, 1},
        {"Z:\\documents\\a.txt", "z:\\DOC", 1, 0},
        {"c:\\\x83\x41\\a.TXT", "C:\\\x83\x41", 1, 0}, {"c:\\\x83\x61\\a.txt", "C:\\\x83\x41", 0, 0},
        {"\x83\x41.txt", "\x83\x41.TXT", 1, 1}, {"\x83\x61.txt", "\x83\x41.TXT \x83\x61.txt2", 0, 0},
        {"a\x83\x5C", "\\ ", 0, 0}};  // a list that ends in a separator
    for (const auto& c : cases) {
        EXPECT_EQ(startsWithFolder(c.path, c.rule), c.folder) << c.path << " | " << c.rule;
        EXPECT_EQ(matchesSuffixes(c.path, c.rule), c.suffix) << c.path << " | " << c.rule;
    }
    char config[16] = "";  // the rules file: the module path less "Print.exe", and ".ini"
    EXPECT_TRUE(makeConfigPath("abcdPrint.exe", config, 9) && !strcmp(config, "abcd.ini") &&
                !makeConfigPath("abcdPrint.exe", config, 8) && !makeConfigPath("rint.exe", config, 16));
}

// The rules file read as the profile calls read it ("-" for a missing key), its bytes as code page 932.
TEST(FilterRules, RulesFileText) {
    const std::string text = " [initialize] \r\nnumoffilter = -1\n[Filter1\nKey=in 1\n[\x83\x5d]\nKey=in \x83\x5d\n"
                             "[Filter2]x\n  Suffixes =  \".txt\"  \r\nXonsole=9\nConsole=19ab\x1A\nQuote='a\"\nLone=\"\nEmpty=\"\"\nLong=abcdefghij\nNul=a" + std::string(1, '\0') + "b\n"
                             "[Filter1]\nLate=yes\nSuffixes=.no";
    const char* cases[][4] = {{"Initialize", "NumOfFilter", "-1", "4294967295"}, {"Filter1", "Key", "-", "7"},
                              {"\x83\x5d", "key", "in \x83\x5d", "0"}, {"Filter2", "Suffixes", ".txt", "0"},
                              {"FILTER2", "console", "19ab", "19"}, {"Filter2", "Quote", "'a\"", "0"}, {"Filter2", "Lone", "\"", "0"}, {"Filter2", "Empty", "", "7"}, {"Filter2", "Long", "abcdefg", "0"},
                              {"Filter2", "Nul", "a", "0"}, {"Filter1", "Late", "yes", "0"}, {"Filter3", "Key", "-", "7"}};
    const std::vector<char> bytes(text.begin(), text.end());  // nothing to read past them
    RulesText rules = {bytes.data(), bytes.size()};
    for (auto c : cases) {
        char value[8];
        long length = findRuleValue(rules, c[0], c[1], value, sizeof value);
        EXPECT_EQ((length < 0 ? "-" : value) + std::string("|") + std::to_string(findRuleNumber(rules, c[0], c[1], 7)),
                  c[2] + std::string("|") + c[3]) << c[0] << "/" << c[1];
    }
}

TEST(FilterRules, FirstTabCodeBecomesTheTabWidthWhenItFits) {
    const struct { const char *command, *expanded; int size, tab, ok; } cases[] = {
        {"conv \x95\\&T -x&T", "conv \x95\\8 -x&T", 260, 8, 1},
        {"a&t &", "a&t &", 260, 8, 1}, {"\x81&T", "\x81&T", 260, 8, 1},
        {"x&Ty", "x10y", 5, 10, 1}, {"x&Ty", "x&Ty", 4, 10, 0}, {"&T", "&T", 3, 100, 0}};
    for (const auto& c : cases) {
        char command[300];
        strcpy(command, c.command);
        EXPECT_EQ(expandTabCode(command, c.size, c.tab), c.ok) << c.command;
        EXPECT_STREQ(command, c.expanded);
    }
}

// Drop lists as programs hand them over. In code page 932: its names at 0x114 (the offset
// little-endian), a long name that must not be cut, one a unit too long, and a last name
// that the block cuts off. In UTF-16: a name that just fits, one a unit longer, and the end of
// the block right after it, with no empty name to end the list.
TEST(DropList, NamesInTheBlock) {
    const std::string kanji150(300, '\x8A');  // 滑 150 times
    const std::u16string wide = std::u16string(u"ｱ\0", 2) + std::u16string(259, u'x') + u'\0' + std::u16string(260, u'y') + u'\0';
    const std::tuple<char, std::string, std::string> blocks[] = {  // wide?, names, read back
        {0, kanji150 + '\0' + std::string(260, 'a') + '\0' + "cut", "|" + kanji150 + "|!"},
        {1, std::string(reinterpret_cast<const char*>(wide.data()), 2 * wide.size()), "|\xB1|" + std::string(259, 'x') + "|!"}};
    for (const auto& [isWide, names, expected] : blocks) {
        const std::string block = "\x14\x01" + std::string(14, '\0') + isWide + std::string(0x114 - 17, '\0') + names;
        const std::vector<unsigned char> list(block.begin(), block.end());  // nothing to read past
        DropCursor cursor{};
        std::string read = startDropList(list.data(), list.size(), &cursor) ? "" : "refused";
        uint16_t name[WIDE_NAME_LIMIT];
        char inCodePage[2 * WIDE_NAME_LIMIT];
        for (int refused = 0; nextDropName(&cursor, name, &refused); read += (refused ? "|!" : "|") + std::string(inCodePage))
            writeCodePageName(name, inCodePage, sizeof inCodePage);  // a refused name is empty
        EXPECT_EQ(read, expected);
    }
}

}  // namespace
