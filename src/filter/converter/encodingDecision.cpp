#include "encodingDecision.h"

#include <cstdint>
#include <cctype>
#include <cstring>

#include "jisDecoding.h"
#include "unicodeDecoding.h"

namespace {

// What a character costs a reading, roughly the bits it takes in Japanese
// text: the likelier the reading, the less its characters cost in all.
enum Cost {
    ASCII_COST = 1,
    HIRAGANA_COST = 6,
    KATAKANA_COST = 7,
    PUNCTUATION_COST = 8,
    COMMON_KANJI_COST = 10,
    SYMBOL_COST = 10,
    KANJI_COST = 11,  // UTF-8 does not tell the common ones
    RARE_KANJI_COST = 13,
    FOREIGN_COST = 14,  // Greek, Cyrillic, box drawing, circled numbers
    VENDOR_KANJI_COST = 16,
    SUPPLEMENT_COST = 18,
    UNASSIGNED_COST = 20,
    INVALID_COST = 30,  // a byte that is not the encoding at all
};

// JIS X 0208 by row, as Shift_JIS and EUC-JP both encode it.
int rowCellCost(int row, int cell) {
    if (row == 4) return cell <= 83 ? HIRAGANA_COST : UNASSIGNED_COST;
    if (row == 5) return cell <= 86 ? KATAKANA_COST : UNASSIGNED_COST;
    if (row == 1) return PUNCTUATION_COST;
    if (row == 2 || row == 3) return SYMBOL_COST;
    if (row >= 16 && row <= 47) return row == 47 && cell > 51 ? UNASSIGNED_COST : COMMON_KANJI_COST;
    if (row >= 48 && row <= 84) return row == 84 && cell > 6 ? UNASSIGNED_COST : RARE_KANJI_COST;
    if ((row >= 6 && row <= 8) || row == 13) return FOREIGN_COST;
    // Code page 932's NEC-selected and IBM kanji (leads ED, EE and FA to FC4B).
    if ((row >= 89 && row <= 92) || (row >= 115 && row <= 118) || (row == 119 && cell <= 12)) {
        return VENDOR_KANJI_COST;
    }
    return UNASSIGNED_COST;
}

// Half-width katakana (by their Shift_JIS byte) come in runs. A run does not
// start with a small kana, a long-vowel mark or a sound mark, and a sound
// mark follows a kana that takes it: there it tells the most.
int halfWidthCost(unsigned kana, unsigned previous) {
    bool voiceable = previous == 0xB3 || (previous >= 0xB6 && previous <= 0xC4) ||
                     (previous >= 0xCA && previous <= 0xCE);
    if (previous == 0) return (kana >= 0xA7 && kana <= 0xB0) || kana >= 0xDE ? 20 : 12;
    if (kana == 0xDE) return voiceable ? 2 : 16;
    if (kana == 0xDF) return previous >= 0xCA && previous <= 0xCE ? 2 : 16;
    return 6;
}

struct Reading {
    const unsigned char* bytes;
    size_t size;
    bool ended;
    int64_t cost = 0;
    unsigned kanaBefore = 0;  // the half-width kana just read, or 0

    void add(int characterCost) { cost += characterCost, kanaBefore = 0; }
    void addKana(unsigned kana) { cost += halfWidthCost(kana, kanaBefore), kanaBefore = kana; }
    // Whether a character of `length` bytes at `i` is cut by the end of
    // what was read before the input ended: it is then left out.
    bool cut(size_t i, size_t length) const { return i + length > size && !ended; }
};

int64_t shiftJisCost(Reading r) {
    for (size_t i = 0; i < r.size; ++i) {
        unsigned byte = r.bytes[i];
        int row, cell;
        if (byte < 0x80) {
            r.add(ASCII_COST);
        } else if (isHalfWidthKatakana(byte)) {
            r.addKana(byte);
        } else if (r.cut(i, 2)) {
            break;
        } else if (i + 1 < r.size && rowCellOfShiftJis(byte, r.bytes[i + 1], &row, &cell)) {
            r.add(rowCellCost(row, cell));
            ++i;
        } else {
            r.add(INVALID_COST);
        }
    }
    return r.cost;
}

bool sameInEitherCase(const char* a, const char* b) {
    for (; *a && tolower((unsigned char)*a) == tolower((unsigned char)*b); ++a, ++b) {
    }
    return *a == *b || tolower((unsigned char)*a) == tolower((unsigned char)*b);
}

int64_t eucJpCost(Reading r) {
    for (size_t i = 0; i < r.size; ++i) {
        unsigned byte = r.bytes[i];
        size_t length = byte == 0x8F ? 3 : byte == 0x8E || isEucByte(byte) ? 2 : 1;
        if (length == 1) {
            r.add(byte < 0x80 ? ASCII_COST : INVALID_COST);
            continue;
        }
        if (r.cut(i, length)) break;
        const unsigned char* next = r.bytes + i + 1;
        bool whole = i + length <= r.size;
        if (whole && byte == 0x8E && isHalfWidthKatakana(next[0])) {
            r.addKana(next[0]);
        } else if (whole && byte == 0x8F && isEucByte(next[0]) && isEucByte(next[1])) {
            r.add(SUPPLEMENT_COST);
        } else if (whole && isEucByte(byte) && isEucByte(next[0])) {
            r.add(rowCellCost(int(byte) - 0xA0, int(next[0]) - 0xA0));
        } else {
            r.add(INVALID_COST);
            continue;
        }
        i += length - 1;
    }
    return r.cost;
}

int unicodeCost(uint32_t c) {
    if (c < 0x80) return ASCII_COST;
    if (c < 0x100) return SYMBOL_COST;  // accented Latin letters among them
    if (c < 0x800) return FOREIGN_COST - 2;  // valid UTF-8 tells something by itself
    if (c >= 0x3041 && c <= 0x3096) return HIRAGANA_COST;
    if (c >= 0x30A1 && c <= 0x30FA) return KATAKANA_COST;
    if ((c >= 0x3000 && c <= 0x303F) || c == 0x30FB || c == 0x30FC) return PUNCTUATION_COST;
    if (c >= 0x4E00 && c <= 0x9FFF) return KANJI_COST;
    if ((c >= 0x2000 && c <= 0x2FFF) || (c >= 0xFF01 && c <= 0xFF5E)) return SYMBOL_COST;
    return c < 0x10000 ? VENDOR_KANJI_COST : SUPPLEMENT_COST;
}

int64_t utf8Cost(Reading r) {
    for (size_t i = 0; i < r.size;) {
        uint32_t c = 0;
        int length = utf8Character(r.bytes + i, r.size - i, &c);
        if (length == UTF8_CUT && !r.ended) break;
        if (length <= 0) {
            r.add(INVALID_COST);
            length = 1;
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            r.addKana(c - 0xFEC0);
        } else {
            r.add(unicodeCost(c));
        }
        i += size_t(length);
    }
    return r.cost;
}

// Seven-bit text that shifts to another character set is ISO-2022-JP.
bool shiftsCharacterSet(const unsigned char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        JisSet set;
        if (bytes[i] == 0x0E || (bytes[i] == 0x1B && jisEscape(bytes + i, size - i, &set) > 0)) {
            return true;
        }
    }
    return false;
}

}  // namespace

SourceEncoding encodingOfMark(const unsigned char* bytes, size_t size, size_t* markLength) {
    *markLength = 0;
    if (size >= 3 && !memcmp(bytes, "\xEF\xBB\xBF", 3)) return *markLength = 3, SOURCE_UTF8;
    if (size >= 2 && !memcmp(bytes, "\xFF\xFE", 2)) return *markLength = 2, SOURCE_UTF16LE;
    if (size >= 2 && !memcmp(bytes, "\xFE\xFF", 2)) return *markLength = 2, SOURCE_UTF16BE;
    return SOURCE_UNDECIDED;
}

SourceEncoding encodingOfName(const char* name) {
    static const struct {
        const char* name;
        SourceEncoding encoding;
    } names[] = {{"sjis", SOURCE_SHIFT_JIS},  {"euc-jp", SOURCE_EUC_JP},
                 {"iso-2022-jp", SOURCE_ISO_2022_JP}, {"utf-8", SOURCE_UTF8},
                 {"utf-16le", SOURCE_UTF16LE}, {"utf-16be", SOURCE_UTF16BE}};
    for (const auto& known : names) {
        if (sameInEitherCase(name, known.name)) return known.encoding;
    }
    return SOURCE_UNDECIDED;
}

size_t plainLength(const unsigned char* bytes, size_t size) {
    size_t length = 0;
    while (length < size && bytes[length] < 0x80 && bytes[length] != 0x1B && bytes[length] != 0x0E) {
        ++length;
    }
    return length;
}

SourceEncoding encodingOfWindow(const unsigned char* bytes, size_t size, int inputEnded) {
    size_t high = 0;
    while (high < size && bytes[high] < 0x80) ++high;
    if (high == size) return shiftsCharacterSet(bytes, size) ? SOURCE_ISO_2022_JP : SOURCE_SHIFT_JIS;
    Reading reading{bytes, size, inputEnded != 0};
    int64_t shiftJis = shiftJisCost(reading), utf8 = utf8Cost(reading), eucJp = eucJpCost(reading);
    if (shiftJis <= utf8 && shiftJis <= eucJp) return SOURCE_SHIFT_JIS;
    return utf8 <= eucJp ? SOURCE_UTF8 : SOURCE_EUC_JP;
}
