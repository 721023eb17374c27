// Texts from outside the layout: templates, the command line, stored values,
// file lists from drops and the clipboard (blocks of another program), and
// filter rules (ア is 83 41, ヂ 83 61: folding a trail byte makes them equal).
#include "app/dropList.h"
#include "coreTestSupport.h"
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
    setPageNumberTexts(2, 5);
    const struct { const char* text; int32_t size; const char* expanded; } cases[] = {
        {"Page &P of &A", 1024, "Page 2 of 5"}, {"&D &T", 1024, "2005/3/7 9:05"},
        {"&F | &U", 1024, "memo.txt | C:\\docs\\memo.txt"}, {"", 1024, ""}, {"&&D", 1024, "&D"},
        {"&d&&&&", 1024, "d&&"}, {"end&", 1024, "end"}, {"&", 1024, ""},
        {"&\x95\x5c", 1024, "\x95\x5c"},       // the "&" goes, 表 stays whole
        {"\x83\x5c&P", 1024, "\x83\x5c" "2"},  // ソ's trail byte starts nothing
        {"\x83&P", 1024, "\x83&P"},            // "&" as a trail byte is no code
        {"a\x83", 1024, "a\x83"}, {"ab&U tail", 10, "ab"}, {"abc", 4, "abc"}, {"abc", 3, ""}, {"abc", 1, ""},
        {"Page &P of &A", 8, "Page 2"},  // pieces whole or not at all
    };
    for (const auto& c : cases) EXPECT_EQ(expand(c.text, c.size), c.expanded) << c.text;
    memset(documentPath, 'p', PATH_BUFFER_SIZE - 1);
    std::string codes;
    while (codes.size() < 254) codes += "&U";
    EXPECT_EQ(expand(codes).size(), 3u * 259);
    char number[16];
    setPageNumberTexts(12, 0);
    formatLineNumber(12, number, sizeof number);
    EXPECT_EQ(std::string(pageNumberText) + "/" + pageCountText + number, "12/1       12");
    // A typed template is cut to whole characters: 表 is 95 5C, and a lone lead byte at the very end counts as one byte.
    const std::string cuts[][3] = {{"ab\x95\x5c", "5", "ab\x95\x5c"}, {"ab\x95\x5c", "4", "ab"},
                                   {"abc\x95", "5", "abc\x95"}, {"abc", "1", ""}};
    for (const auto& c : cuts) {
        char cut[8] = "#######";
        copyWholeCharacters(cut, c[0].c_str(), std::stoi(c[1]));
        EXPECT_EQ(cut, c[2]) << c[0] << " in " << c[1];
    }
}

TEST(CommandLine, Scan) {
    const struct { const char* line; int named; const char* name; int print; } cases[] = {
        {"", 0, "", 0}, {"/p", 0, "", 1}, {"   ", 0, "", 0},
        {"\"C:\\My Files\\memo.txt\" /p", 1, "C:\\My Files\\memo.txt", 1},
        {"C:\\My Files\\memo.txt", 1, "C:\\My Files\\memo.txt", 0},
        {"\"first.txt\" second.txt /P", 1, "first.txt", 1}, {"memo.txt/p", 1, "memo.txt", 1},
        {"memo.txt   /p", 1, "memo.txt   ", 1}, {"/print memo.txt", 1, "memo.txt", 1},
        {"/x memo.txt", 1, "memo.txt", 0}, {"/x\" memo", 1, "memo", 0}, {"docs/memo.txt", 1, "docs", 0},
        {"\"docs/memo.txt\"", 1, "docs/memo.txt", 0}, {"a\tb", 1, "a\tb", 0},
        {"\"never closed.txt", 1, "never closed.txt", 0}, {"\"\" /p", 1, "", 1}, {"\"", 1, "", 0},
        {"\x95\x5c.txt", 1, "\x95\x5c.txt", 0}, {"\"\x83\x22.txt\"", 1, "\x83\x22.txt", 0},
        {"/p\x82\xa0.txt", 1, "\x82\xa0.txt", 1}, {"abc\x82", 1, "abc\x82", 0},
    };
    for (const auto& c : cases) {
        CommandLineScan s = scanCommandLine(c.line);
        std::string name;
        if (s.hasName && s.nameEnd >= s.nameStart) name.assign(c.line + s.nameStart, c.line + s.nameEnd + 1);
        EXPECT_EQ(std::tuple(s.hasName, name, s.printAtOnce), std::tuple(c.named, std::string(c.name), c.print)) << c.line;
    }
    EXPECT_EQ(scanCommandLine(nullptr).hasName, 0);
    // The same rules over UTF-8, after the program's name: no byte of a sequence ends a name or sets "/p".
    const char* lines[][2] = {{u8"pemo.exe /p\U00020BB7 é.txt", u8"\U00020BB7 é.txt"}, {u8"\"C:\\a b\\p\"\t/p \"😀\"", u8"😀"},
                              {u8"C:\\a\" \"b\\p \"é /p", u8"é /p"}, {"\"p /p", ""}};
    for (auto c : lines) {
        const char* line = skipProgramName(c[0]);
        CommandLineScan s = scanCommandLine(line, startsUtf8Sequence);
        EXPECT_EQ(s.hasName ? std::string(line + s.nameStart, line + s.nameEnd + 1) : "", c[1]) << c[0];
    }

    const char text[] = "abcdef";
    char buffer[8];
    const struct { int first, last, size; const char* copied; } copies[] = {
        {0, 5, 4, "abc"}, {0, 5, 1, ""}, {1, 2, 8, "bc"}, {3, 2, 8, ""}, {0, 5, 7, "abcdef"}};
    for (const auto& c : copies) {
        copyBounded(text + c.first, text + c.last, buffer, c.size);
        EXPECT_STREQ(buffer, c.copied);
    }
}

StoredValue valueOf(uint32_t type, const std::string& bytes) {
    return StoredValue{type, reinterpret_cast<const unsigned char*>(bytes.data()), uint32_t(bytes.size())};
}

// A string read into a buffer of outSize: its text, or "refused"; nothing is
// written past its terminator, nor anything at all when refused.
std::string stored(const std::string& bytes, uint32_t type, uint32_t outSize) {
    char out[300];
    memset(out, '#', sizeof out);
    int accepted = decodeString(valueOf(type, bytes), out, outSize);
    for (size_t i = accepted ? strlen(out) + 1 : 0; i < sizeof out; ++i)
        if (out[i] != '#') return "wrote byte " + std::to_string(i);
    return accepted ? std::string(out) : "refused";
}

TEST(StoredValues, Strings) {
    const std::string k255(255, 'k'), k256(256, 'k'), nul(1, '\0');
    const struct { std::string bytes; uint32_t type, size; std::string text; } cases[] = {
        {"abc" + nul, VALUE_SZ, 256, "abc"}, {"xyz", VALUE_SZ, 256, "xyz"}, {"ab" + nul + "cd", VALUE_SZ, 256, "ab"},
        {nul, VALUE_SZ, 256, ""}, {"", VALUE_SZ, 256, ""}, {k255 + nul, VALUE_SZ, 256, k255}, {k255, VALUE_SZ, 256, k255},
        {k256, VALUE_SZ, 256, "refused"}, {k256 + nul, VALUE_SZ, 256, "refused"}, {"ab" + nul + k256, VALUE_SZ, 256, "refused"},
        {"abc" + nul, VALUE_BINARY, 256, "refused"}, {"abc" + nul, 2, 256, "refused"}, {"abc" + nul, 7, 256, "refused"},
        {"txt" + nul, VALUE_SZ, 4, "txt"}, {"doc", VALUE_SZ, 4, "doc"}, {"html" + nul, VALUE_SZ, 4, "refused"},
        {"html", VALUE_SZ, 4, "refused"}, {nul, VALUE_SZ, 0, "refused"},
    };
    for (const auto& c : cases) EXPECT_EQ(stored(c.bytes, c.type, c.size), c.text) << c.bytes;
    char out[4] = "x";
    EXPECT_TRUE(decodeString(StoredValue{VALUE_SZ, nullptr, 0}, out, sizeof out) && !out[0]);
}

TEST(StoredValues, NumbersFontsMarginsOrientation) {
    int32_t number = 4;
    EXPECT_TRUE(decodeDword(valueOf(VALUE_DWORD, "\x78\x56\x34\x12"), &number) && number == 0x12345678);
    EXPECT_TRUE(decodeDword(valueOf(VALUE_DWORD, "\xfb\xff\xff\xff"), &number) && number == -5);
    for (auto bad : {valueOf(VALUE_BINARY, "\1\1\1\1"), valueOf(5, "\1\1\1\1"), valueOf(VALUE_DWORD, "\1\1\1"),
                     valueOf(VALUE_DWORD, "\1\1\1\1\1")})
        EXPECT_FALSE(decodeDword(bad, &number));
    EXPECT_EQ(number, -5);

    // A face name without its terminator is cut to 31 bytes.
    const std::string font(LOGFONT_VALUE_SIZE, 'A');
    unsigned char logFont[LOGFONT_VALUE_SIZE + 1] = {};
    logFont[LOGFONT_VALUE_SIZE] = '#';
    ASSERT_TRUE(decodeLogFont(valueOf(VALUE_BINARY, font), logFont));
    EXPECT_EQ(std::string(logFont, logFont + sizeof logFont), std::string(LOGFONT_VALUE_SIZE - 1, 'A') + '\0' + "#");
    for (auto bad : {valueOf(VALUE_BINARY, font + "x"), valueOf(VALUE_BINARY, font.substr(1)), valueOf(VALUE_SZ, font)})
        EXPECT_FALSE(decodeLogFont(bad, logFont));

    unsigned char bytes[MARGIN_VALUE_SIZE];
    encodeMargins(MarginBox{2000, -1, 70000, 5}, bytes);
    const std::string margin(reinterpret_cast<char*>(bytes), sizeof bytes);
    EXPECT_EQ(margin.substr(0, 8), std::string("\xd0\x07\0\0\xff\xff\xff\xff", 8));
    MarginBox m{};
    ASSERT_TRUE(decodeMargins(valueOf(VALUE_BINARY, margin), &m));
    EXPECT_TRUE(m.left == 2000 && m.top == -1 && m.right == 70000 && m.bottom == 5);
    EXPECT_FALSE(decodeMargins(valueOf(VALUE_BINARY, margin + "x"), &m) || decodeMargins(valueOf(VALUE_DWORD, margin), &m));

    const struct { uint32_t type; std::string bytes; int16_t orientation; } orientations[] = {
        {VALUE_BINARY, std::string("\1\0", 2), 1}, {VALUE_BINARY, std::string("\2\0", 2), 2},
        {VALUE_BINARY, std::string("\0\0", 2), 0}, {VALUE_BINARY, std::string("\3\0", 2), 0},
        {VALUE_BINARY, "\1\1", 0}, {VALUE_BINARY, std::string("\1\0\0", 3), 0}, {VALUE_DWORD, std::string("\2\0", 2), 0}};
    for (const auto& o : orientations) {
        int16_t orientation = 0;
        EXPECT_EQ(decodeOrientation(valueOf(o.type, o.bytes), &orientation), o.orientation != 0);
        EXPECT_EQ(orientation, o.orientation);
    }
    unsigned char two[ORIENTATION_VALUE_SIZE];
    encodeOrientation(0x0102, two);
    EXPECT_TRUE(two[0] == 2 && two[1] == 1);
    EXPECT_TRUE(!isUsableTabCount(0) && isUsableTabCount(1));
    EXPECT_TRUE(!isUsablePreviewScale(0) && isUsablePreviewScale(1) && isUsablePreviewScale(10000) &&
                !isUsablePreviewScale(10001));
    EXPECT_TRUE(!isUsablePointSize(9) && isUsablePointSize(10) && isUsablePointSize(10000) && !isUsablePointSize(10001));
}


using namespace std::string_literals;

std::string header(uint32_t names, uint32_t wide) {
    std::string h(DROPFILES_SIZE, '\0');
    for (int i = 0; i < 4; ++i) h[size_t(i)] = char(names >> 8 * i), h[size_t(16 + i)] = char(wide >> 8 * i);
    return h;
}

std::string utf16(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) bytes += {char(unit & 0xFF), char(unit >> 8)};
    return bytes;
}

// The names taken from a block, as UTF-8, "!" for a refused one, each followed by "|".
std::string namesIn(const std::string& block) {
    DropCursor cursor;
    if (!startDropList(reinterpret_cast<const unsigned char*>(block.data()), block.size(), &cursor)) return "none";
    std::string names;
    char16_t name[WIDE_NAME_LIMIT + 1];
    name[WIDE_NAME_LIMIT] = '#';
    for (int refused = 0; nextDropName(&cursor, reinterpret_cast<uint16_t*>(name), &refused);)
        names += (refused ? "!" : convertText(utf16(name), "UTF-8", "UTF-16LE")) + "|";
    EXPECT_EQ(name[WIDE_NAME_LIMIT], '#');
    return names;
}

// UTF-16 names stay whole, whatever code page 932 lacks; byte names are the system's code page (932 natively).
TEST(DropList, Names) {
    const std::u16string longName(260, u'x');
    const std::string a = std::string("a.txt") + '\0', z(1, '\0');
    const struct { std::string block, names; } cases[] = {
        {header(20, 0) + a + "b.txt" + z + z, "a.txt|b.txt|"},
        {header(20, 1) + utf16(u"日本.txt\0b\0\0"s), "日本.txt|b|"},
        {header(21, 1) + "-" + utf16(u"odd\0"s), "odd|"}, {header(20, 1) + utf16(u"caf\u00e9 \U0001F600\0"s), "café 😀|"},
        {header(20, 0) + a + "b" + z, "a.txt|b|"},  // no empty name at the end
        {header(20, 0) + a + "bc", "a.txt|"},       // the last name never ends
        {header(20, 1) + utf16(u"ab") + "c", ""},   // nor here, by a byte
        {header(20, 1) + utf16(longName + u'\0' + u"b\0"s), "!|b|"},
        {header(20, 0) + sjis("日本.txt") + z, "日本.txt|"}, {header(20, 0) + "\x82" + z, "!|"},
        {header(20, 0) + std::string(300, 'n') + z, std::string(259, 'n') + "|"},
        {header(20, 0) + z + "a" + z, ""}, {header(24, 0) + "a", "none"}, {header(20, 0), ""},
        {header(20, 0).substr(0, 19), "none"}, {header(0x80000014, 0) + a, "none"},
        {header(0x114, 0) + std::string(0x100, 'x') + a + z, "a.txt|"},  // an offset of more than one byte
    };
    for (const auto& c : cases) EXPECT_EQ(namesIn(c.block), c.names) << testing::PrintToString(c.block);
}

TEST(FilterRules, FolderAndSuffixTests) {
    const struct { const char* path; const char* rule; int folder, suffix; } cases[] = {
        {"a.txt", ".TXT", 0, 1}, {"atxt", "txt", 0, 1}, {"atxt", ".txt", 0, 0}, {"x.html", ".htm, .html", 0, 1},
        {"x.html", ".htm .html", 0, 1}, {"x.c", "\t,\n .h,,.c ", 0, 1}, {"a.txt", "", 1, 1}, {"a.txt", " , ", 0, 0},
        {"c", "abc", 0, 0}, {"a\\", "\\", 0, 1}, {"C:\\documents\\a.txt", "c:\\DOC", 1, 0},
        {"c:\\\x83\x41\\a.TXT", "C:\\\x83\x41", 1, 0}, {"c:\\\x83\x61\\a.txt", "C:\\\x83\x41", 0, 0},
        {"\x83\x41.txt", "\x83\x41.TXT", 1, 1}, {"\x83\x61.txt", "\x83\x41.TXT", 0, 0}, {"\x83\x41", "\x83", 0, 0},
        {"a\x83\x5C", "\\", 0, 0},
    };
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
                             "[Filter2]x\n  Suffixes =  \".txt\"  \r\nConsole=12ab\nQuote='a\"\nEmpty=\"\"\nLong=abcdefghij\nNul=a" + std::string(1, '\0') + "b\n"
                             "[Filter1]\nLate=yes\nSuffixes=.no";
    const char* cases[][4] = {{"Initialize", "NumOfFilter", "-1", "4294967295"}, {"Filter1", "Key", "-", "7"},
                              {"\x83\x5d", "key", "in \x83\x5d", "0"}, {"Filter2", "Suffixes", ".txt", "0"},
                              {"FILTER2", "console", "12ab", "12"}, {"Filter2", "Quote", "'a\"", "0"}, {"Filter2", "Empty", "", "7"}, {"Filter2", "Long", "abcdefg", "0"},
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

}  // namespace
