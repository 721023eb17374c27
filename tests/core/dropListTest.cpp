// File lists from drops and the clipboard: names in either form, and blocks
// of another program that end too early or point outside themselves.
#include <gtest/gtest.h>

#include <string>

#include "app/dropList.h"
#include "document/documentNames.h"
#include "coreTestSupport.h"

namespace {

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

// The names taken from a block, "!" for a refused one, each followed by "|".
std::string namesIn(const std::string& block) {
    DropCursor cursor;
    if (!startDropList(reinterpret_cast<const unsigned char*>(block.data()), block.size(), &cursor)) return "none";
    std::string names;
    char name[PATH_BUFFER_SIZE + 1];
    name[PATH_BUFFER_SIZE] = '#';
    int refused = 0;
    while (nextDropName(&cursor, name, PATH_BUFFER_SIZE, &refused)) names += (refused ? "!" : utf8(name)) + "|";
    EXPECT_EQ(name[PATH_BUFFER_SIZE], '#');
    return names;
}

TEST(DropList, Names) {
    const std::u16string longName(260, u'x'), japanese(200, u'表');
    const std::string a = std::string("a.txt") + '\0', z(1, '\0');
    const struct {
        std::string block, names;
    } cases[] = {
        {header(20, 0) + a + "b.txt" + z + z, "a.txt|b.txt|"},
        {header(20, 1) + utf16(u"日本.txt\0b\0\0"s), "日本.txt|b|"},
        {header(21, 1) + "-" + utf16(u"odd\0"s), "odd|"},
        {header(20, 1) + utf16(u"caf\u00e9\0"s), "caf?|"},
        {header(20, 0) + a + "b" + z, "a.txt|b|"},  // no empty name at the end
        {header(20, 0) + a + "bc", "a.txt|"},       // the last name never ends
        {header(20, 1) + utf16(u"ab") + "c", ""},   // nor here, by a byte
        {header(20, 1) + utf16(longName + u'\0' + u"b\0"s), "!|b|"},
        {header(20, 1) + utf16(japanese + u'\0'), "!|"},
        {header(20, 0) + std::string(300, 'n') + z, std::string(259, 'n') + "|"},
        {header(20, 0) + z + "a" + z, ""}, {header(24, 0) + "a", "none"}, {header(20, 0), ""},
        {header(20, 0).substr(0, 19), "none"},
    };
    for (const auto& c : cases) EXPECT_EQ(namesIn(c.block), c.names) << testing::PrintToString(c.block);
}

}  // namespace
