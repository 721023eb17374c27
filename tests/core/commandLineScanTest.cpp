// The command-line scanner: names bare and quoted, option words, lead bytes.
#include <gtest/gtest.h>

#include <string>

#include "document/commandLineScan.h"

namespace {

struct Scanned {
    bool named;
    std::string name;
    bool print;
};

Scanned scan(const char* line) {
    CommandLineScan s = scanCommandLine(line);
    Scanned result{s.hasName != 0, "", s.printAtOnce != 0};
    if (s.hasName && s.nameEnd >= s.nameStart) result.name.assign(line + s.nameStart, line + s.nameEnd + 1);
    return result;
}

TEST(ScanCommandLine, NothingNamed) {
    EXPECT_FALSE(scan(nullptr).named);
    EXPECT_FALSE(scan("").named);
    EXPECT_FALSE(scan("/p").named);
    EXPECT_TRUE(scan("/p").print);
    EXPECT_FALSE(scan("   ").named);
}

TEST(ScanCommandLine, QuotedAndBareNames) {
    Scanned quoted = scan("\"C:\\My Files\\memo.txt\" /p");
    EXPECT_EQ(quoted.name, "C:\\My Files\\memo.txt");
    EXPECT_TRUE(quoted.print);
    // Spaces belong to a bare name.
    EXPECT_EQ(scan("C:\\My Files\\memo.txt").name, "C:\\My Files\\memo.txt");
    EXPECT_FALSE(scan("C:\\My Files\\memo.txt").print);
    EXPECT_EQ(scan("one two").name, "one two");
    // Only the first name counts.
    Scanned two = scan("\"first.txt\" second.txt /P");
    EXPECT_EQ(two.name, "first.txt");
    EXPECT_TRUE(two.print);
}

TEST(ScanCommandLine, OptionsEndBareNames) {
    EXPECT_EQ(scan("memo.txt/p").name, "memo.txt");
    EXPECT_TRUE(scan("memo.txt/p").print);
    EXPECT_EQ(scan("memo.txt   /p").name, "memo.txt   ");
    EXPECT_TRUE(scan("/print memo.txt").print);
    EXPECT_EQ(scan("/print memo.txt").name, "memo.txt");
    EXPECT_FALSE(scan("/x memo.txt").print);
    // Forward slashes end a bare name but not a quoted one.
    EXPECT_EQ(scan("docs/memo.txt").name, "docs");
    EXPECT_EQ(scan("\"docs/memo.txt\"").name, "docs/memo.txt");
    // A tab does not separate words.
    EXPECT_EQ(scan("a\tb").name, "a\tb");
}

TEST(ScanCommandLine, UnbalancedAndEmptyQuotes) {
    EXPECT_EQ(scan("\"never closed.txt").name, "never closed.txt");
    Scanned empty = scan("\"\" /p");
    EXPECT_TRUE(empty.named);
    EXPECT_EQ(empty.name, "");
    Scanned lone = scan("\"");
    EXPECT_TRUE(lone.named);
    EXPECT_EQ(lone.name, "");
}

TEST(ScanCommandLine, LeadBytes) {
    // "表.txt": 0x95 0x5C; the trail byte 0x5C is not a separator.
    EXPECT_EQ(scan("\x95\x5c.txt").name, "\x95\x5c.txt");
    // A trail byte that is a "/" or a quote belongs to the character.
    EXPECT_EQ(scan("\"\x83\x22.txt\"").name, "\x83\x22.txt");
    // A lead byte in an option word starts a bare name there.
    Scanned inOption = scan("/p\x82\xa0.txt");
    EXPECT_EQ(inOption.name, "\x82\xa0.txt");
    EXPECT_TRUE(inOption.print);
    // A lead byte at the very end ends the scan; the name keeps it.
    EXPECT_EQ(scan("abc\x82").name, "abc\x82");
}

TEST(CopyBounded, CopiesAtMostSizeMinusOne) {
    const char text[] = "abcdef";
    char buffer[8];
    copyBounded(text, text + 5, buffer, 4);
    EXPECT_STREQ(buffer, "abc");
    copyBounded(text + 1, text + 2, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "bc");
    copyBounded(text + 3, text + 2, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    copyBounded(text, text + 5, buffer, 1);
    EXPECT_STREQ(buffer, "");
}

TEST(ScanCommandLine, VeryLongLinesFitThePathBuffer) {
    std::string line(10000, 'x');
    line = "\"" + line + "\" /p";
    CommandLineScan s = scanCommandLine(line.c_str());
    char path[260];
    copyBounded(line.c_str() + s.nameStart, line.c_str() + s.nameEnd, path, sizeof path);
    EXPECT_EQ(std::string(path), std::string(259, 'x'));
    EXPECT_TRUE(s.printAtOnce);
}

}  // namespace
