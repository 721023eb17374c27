// Template expansion: the codes, whole pieces only, and the terminator.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/documentNames.h"
#include "layout/headerFooter.h"

namespace {

std::string expand(const char* text, int32_t size = EXPANDED_TEMPLATE_SIZE) {
    char out[EXPANDED_TEMPLATE_SIZE + 8];
    memset(out, 'X', sizeof out);
    expandTemplate(text, out, size);
    EXPECT_EQ(out[size], 'X') << "wrote past the buffer";
    return out;
}

class ExpandTemplate : public testing::Test {
protected:
    void SetUp() override {
        formatDateTime(2005, 3, 7, 9, 5);
        strcpy(documentTitle, "memo.txt");
        strcpy(documentPath, "C:\\docs\\memo.txt");
        setPageNumberTexts(2, 5);
    }
};

TEST_F(ExpandTemplate, Codes) {
    EXPECT_EQ(expand("Page &P of &A"), "Page 2 of 5");
    EXPECT_EQ(expand("&D &T"), "2005/3/7 9:05");
    EXPECT_EQ(expand("&F | &U"), "memo.txt | C:\\docs\\memo.txt");
    EXPECT_EQ(expand("no codes"), "no codes");
    EXPECT_EQ(expand(""), "");
}

TEST_F(ExpandTemplate, AmpersandRules) {
    EXPECT_EQ(expand("&&D"), "&D");
    EXPECT_EQ(expand("&d"), "d");
    EXPECT_EQ(expand("end&"), "end");
    EXPECT_EQ(expand("100&%"), "100%");
    EXPECT_EQ(expand("&&&&"), "&&");
    EXPECT_EQ(expand("&"), "");
}

TEST_F(ExpandTemplate, DoubleByteCharactersStayWhole) {
    // "&" then "表" (0x95 0x5C): the "&" goes, the character stays.
    EXPECT_EQ(expand("&\x95\x5c"), "\x95\x5c");
    // A trail byte that looks like "&"-free ASCII is not a code start; "ソ"
    // (0x83 0x5C) before &P keeps both bytes.
    EXPECT_EQ(expand("\x83\x5c&P"), "\x83\x5c" "2");
    // A lone lead byte at the end is one byte, copied.
    EXPECT_EQ(expand("a\x83"), "a\x83");
}

TEST_F(ExpandTemplate, PiecesAreWholeOrNotAtAll) {
    // Room for 7 bytes and the NUL: "Page " fits, "2" fits, " of " does not.
    EXPECT_EQ(expand("Page &P of &A", 8), "Page 2");
    // A replacement that does not fit ends the expansion.
    EXPECT_EQ(expand("ab&U tail", 10), "ab");
    EXPECT_EQ(expand("abc", 3), "");
    EXPECT_EQ(expand("abc", 4), "abc");
    EXPECT_EQ(expand("abc", 1), "");
}

TEST_F(ExpandTemplate, LongTemplatesNeverOverflow) {
    // 255 bytes of &U, each a 259-byte path, into 1024 bytes.
    memset(documentPath, 'p', PATH_BUFFER_SIZE - 1);
    documentPath[PATH_BUFFER_SIZE - 1] = '\0';
    std::string codes;
    while (codes.size() + 2 <= 255) codes += "&U";
    std::string out = expand(codes.c_str());
    EXPECT_EQ(out.size(), 3u * 259);
}

TEST(PageNumberTexts, CountIsAtLeastOne) {
    setPageNumberTexts(1, 0);
    EXPECT_STREQ(pageNumberText, "1");
    EXPECT_STREQ(pageCountText, "1");
    setPageNumberTexts(12, 345);
    EXPECT_STREQ(pageNumberText, "12");
    EXPECT_STREQ(pageCountText, "345");
}

TEST(FormatLineNumber, NineCellsRightAligned) {
    char out[16];
    formatLineNumber(12, out, sizeof out);
    EXPECT_STREQ(out, "       12");
    formatLineNumber(123456789, out, sizeof out);
    EXPECT_STREQ(out, "123456789");
}

}  // namespace
