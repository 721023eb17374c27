// The converter's decision and decoding. Every decoding row is cut into
// pieces of 1, 2, 3 and 5 bytes as well as taken whole: a character or
// escape cut at a piece's end must come out the same.
#include <fstream>

#include "coreTestSupport.h"
#include "filter/converter/unicodeDecoding.h"
#include "layout/leadByte.h"

namespace {

TEST(Converter, DecodesEachEncodingWhateverItsPieces) {
    const SourceEncoding EUC = SOURCE_EUC_JP, JIS = SOURCE_ISO_2022_JP, U8 = SOURCE_UTF8;
    const struct { SourceEncoding encoding; std::string file, text; } cases[] = {
        {EUC, "\xC6\xFC\xCB\xDC\xB8\xEC\x8E\xB6\x8E\xC5\x7F\r\n", sjis("日本語ｶﾅ\x7F\r\n")},
        // Row and cell edges: 1-1, 1-63, 1-64, 2-1, 13-1 (①), 62-94, 63-1, 89-1, 94-94.
        {EUC, "\xA1\xA1\xA1\xDF\xA1\xE0\xA2\xA1\xAD\xA1\xDE\xFE\xDF\xA1\xF9\xA1\xFE\xFE",
         "\x81\x40\x81\x7E\x81\x80\x81\x9F\x87\x40\x9F\xFC\xE0\x40\xED\x40\xEF\xFC"},
        {EUC, "\x8F\xB0\xA1|\xFF|\xA0\xA4\xA2|\xA4!|\x8E\xE0|\x80|\x8F\xB0#|\xA4", "?|?|?\x82\xA0|?!|??|?|??#|?"},  // JIS X 0212, strays, a cut end
        {JIS, "a\x1B$BF|K\\8l\x1B(Bb\x1B$@$\"\x1B(J\\~", sjis("a日本語bあ") + "\\~"},
        {JIS, "\x1B(I6 @_\x1B(Ba\x0E@6\x0Fz\x1B$B$\"$\n\x7F$\"!~", sjis("ｶ ﾀﾟaﾀｶzあ?\n\x7Fあ◇")},  // no return escape at the end
        {JIS, "\x1B$(D0!\x1B(B\x1B[1m\xB1\xDF\x80\xE0\x1B$B$", "?\x1B[1m\xB1\xDF???"},
        {U8, u8"日本\u301C\u2212\u00A5\u203E\u00A2\u2014\u2016\u00A3\u00AC", sjis("日本～－") + "\\~" + sjis("￠―∥￡￢")},
        {U8, "\xF0\x9F\x98\x80|\xC0\x80|\xED\xA0\x80|\xF4\x90\x80\x80|\xF0\x8F\xBF\xBF|\xE3\x81", "?|??|???|????|????|??"},
        // Edges of 2 and 3 bytes, and a following byte past BF.
        {U8, "\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF\xC3\xC0", "??????"},
        {SOURCE_UTF16LE, std::string("\x42\x30\x00\xD8\x00\xDC\xFF\xDB\xFF\xDF\x3D\xD8\x0A", 13), sjis("あ") + "????"},
        {SOURCE_UTF16BE, std::string("\x30\x42\x00", 3), sjis("あ") + "?"},
        {SOURCE_SHIFT_JIS, "\x82\xA0\xFF\x1B$B", "\x82\xA0\xFF\x1B$B"}};
    for (const auto& c : cases)
        for (size_t step : {1, 2, 3, 5, 1 << 20}) EXPECT_EQ(decodedInPieces(c.encoding, c.file, step), c.text) << c.file << " by " << step;
    JisState kanji{JIS_KANJI};  // a pair that the piece holds whole is taken with it
    unsigned char pair[] = "$\"", out[2];
    size_t written = 0, taken = iso2022JpToShiftJis(&kanji, pair, 2, 0, out, &written);
    EXPECT_TRUE(taken == 2 && written == 2 && out[0] == 0x82 && out[1] == 0xA0);
}

// Shift_JIS and the JIS row and cell, both ways, over every row code page 932 has.
TEST(Converter, RowAndCellOfShiftJis) {
    for (int row = 1; row <= 120; ++row) {
        for (int cell = 1; cell <= 94; ++cell) {
            unsigned char bytes[2];
            int back[2] = {};
            shiftJisOfRowCell(row, cell, bytes);
            ASSERT_TRUE(rowCellOfShiftJis(bytes[0], bytes[1], &back[0], &back[1]) && back[0] == row && back[1] == cell &&
                        isLeadByte(bytes[0])) << row << "-" << cell;
        }
    }
    for (auto [first, second] : {std::pair(0x80, 0x40), {0xA0, 0x40}, {0xFD, 0x40}, {0xDF, 0x40}, {0x81, 0x3F}, {0x81, 0x7F}, {0x81, 0xFD}}) {
        int row, cell;
        EXPECT_FALSE(rowCellOfShiftJis(unsigned(first), unsigned(second), &row, &cell)) << first << " " << second;
    }
}

TEST(Converter, DecidesTheEncoding) {
    const std::string edge = "\xC3\xA9" + std::string(65532, 'a') + "\xE3\x81";
    // The edge's cut end is wrong UTF-8 only where the file ends; a cut lead byte after ｱｱ is
    // left out of the Shift_JIS reading alike.
    std::vector<std::tuple<std::string, int, SourceEncoding>> cases = {
        {"\x1B[1m", 1, SOURCE_SHIFT_JIS}, {"a\x1B$", 1, SOURCE_SHIFT_JIS}, {"\x0E@", 1, SOURCE_ISO_2022_JP},
        {"\x7F\x1B$BF|\x1B(B", 1, SOURCE_ISO_2022_JP}, {edge, 1, SOURCE_SHIFT_JIS}, {edge, 0, SOURCE_UTF8}, {"\xB1\xB1\x83", 0, SOURCE_SHIFT_JIS}};
    const char* forms[] = {"CP932", "EUC-JP-MS", "UTF-8", "ISO-2022-JP-3"};
    const SourceEncoding wanted[] = {SOURCE_SHIFT_JIS, SOURCE_EUC_JP, SOURCE_UTF8, SOURCE_ISO_2022_JP};
    // Short texts and pieces of prose, each in the forms ("SEUJ") that lead its line.
    std::ifstream texts(PEMO_SAMPLES "shortTexts.txt");
    for (std::string line; std::getline(texts, line);)
        for (char form : line.substr(0, line.find('\t'))) {
            const int f = int(std::string("SEUJ").find(form));
            cases.push_back({convertText(line.substr(line.find('\t') + 1), forms[f], "UTF-8"), 1, wanted[f]});
        }
    for (const auto& [text, ended, encoding] : cases) {
        const std::vector<unsigned char> bytes(text.begin(), text.end());  // nothing past them
        EXPECT_EQ(encodingOfWindow(bytes.data(), bytes.size(), ended), encoding) << utf8(text.substr(0, 40));
    }
    // Names of encodings; the rest are in the converter's own table.
    for (auto [name, encoding] : {std::pair("Utf-16BE", SOURCE_UTF16BE), {"utf", SOURCE_UNDECIDED}, {"utf-8x", SOURCE_UNDECIDED}})
        EXPECT_EQ(encodingOfName(name), encoding) << name;
    for (auto [mark, encoding, length] : {std::tuple("\xFF\xFE", SOURCE_UTF16LE, 2u), {"\xFE\xFF", SOURCE_UTF16BE, 2u},
                                          {"\xEF\xBB\xBF", SOURCE_UTF8, 3u}, {"\xEF\xBB", SOURCE_UNDECIDED, 0u}, {"\xFF", SOURCE_UNDECIDED, 0u}}) {
        const std::vector<unsigned char> bytes(mark, mark + strlen(mark));
        size_t found = 9;
        EXPECT_TRUE(encodingOfMark(bytes.data(), bytes.size(), &found) == encoding && found == length) << mark;
    }
    for (auto [plain, length] : {std::pair("ab\x1B", 2), {"\x0E@", 0}, {"ab\x80", 2}, {"ab", 2}}) {
        const std::vector<unsigned char> bytes(plain, plain + strlen(plain));  // nothing past them
        EXPECT_EQ(plainLength(bytes.data(), bytes.size()), size_t(length)) << plain;
    }
}

}  // namespace
