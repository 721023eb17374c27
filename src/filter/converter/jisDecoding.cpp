#include "jisDecoding.h"

#include <cstring>

bool isEucByte(unsigned byte) { return byte >= 0xA1 && byte <= 0xFE; }
bool isHalfWidthKatakana(unsigned byte) { return byte >= 0xA1 && byte <= 0xDF; }

namespace {

bool isJisByte(unsigned byte) { return byte >= 0x21 && byte <= 0x7E; }

const struct {
    const char* bytes;
    JisSet set;
} escapes[] = {
    {"\x1B(B", JIS_ASCII},   {"\x1B(J", JIS_ROMAN},      {"\x1B(I", JIS_KATAKANA},
    {"\x1B$@", JIS_KANJI},   {"\x1B$B", JIS_KANJI},      {"\x1B$(B", JIS_KANJI},
    {"\x1B$(O", JIS_KANJI}, {"\x1B$(Q", JIS_KANJI},  // JIS X 0213's first plane holds JIS X 0208
    {"\x1B$(D", JIS_SUPPLEMENT},
};

}  // namespace

void shiftJisOfRowCell(int row, int cell, unsigned char* bytes) {
    bytes[0] = (unsigned char)((row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0));
    if (row % 2) {
        bytes[1] = (unsigned char)(cell + 0x3F + (cell >= 64));  // 0x7F is no trail byte
    } else {
        bytes[1] = (unsigned char)(cell + 0x9E);
    }
}

bool rowCellOfShiftJis(unsigned first, unsigned second, int* row, int* cell) {
    int base;
    if (first >= 0x81 && first <= 0x9F) {
        base = int(first - 0x81) * 2;
    } else if (first >= 0xE0 && first <= 0xFC) {
        base = int(first - 0xE0) * 2 + 62;
    } else {
        return false;
    }
    if (second < 0x40 || second > 0xFC || second == 0x7F) return false;
    if (second <= 0x9E) {
        *row = base + 1, *cell = int(second) - 0x3F - (second > 0x7F);
    } else {
        *row = base + 2, *cell = int(second) - 0x9E;
    }
    return true;
}

int jisEscape(const unsigned char* bytes, size_t size, JisSet* set) {
    int cut = 0;
    for (const auto& escape : escapes) {
        size_t length = strlen(escape.bytes);
        if (size < length) {
            cut |= !memcmp(bytes, escape.bytes, size);
        } else if (!memcmp(bytes, escape.bytes, length)) {
            *set = escape.set;
            return int(length);
        }
    }
    return cut ? JIS_ESCAPE_CUT : 0;
}

size_t eucJpToShiftJis(const unsigned char* in, size_t size, int ended, unsigned char* out,
                       size_t* written) {
    size_t i = 0, o = 0;
    while (i < size) {
        unsigned lead = in[i];
        size_t length = lead == 0x8F ? 3 : lead == 0x8E || isEucByte(lead) ? 2 : 1;
        if (i + length > size && !ended) break;
        bool whole = i + length <= size;
        if (length == 1) {
            out[o++] = lead < 0x80 ? (unsigned char)lead : '?';
        } else if (!whole || !(lead == 0x8E ? isHalfWidthKatakana(in[i + 1]) : isEucByte(in[i + 1])) ||
                   (length == 3 && !isEucByte(in[i + 2]))) {
            out[o++] = '?';  // the lead alone: what follows is read again
            length = 1;
        } else if (lead == 0x8E) {
            out[o++] = in[i + 1];
        } else if (lead == 0x8F) {
            out[o++] = '?';
        } else {
            shiftJisOfRowCell(int(lead) - 0xA0, int(in[i + 1]) - 0xA0, out + o);
            o += 2;
        }
        i += length;
    }
    *written = o;
    return i;
}

size_t iso2022JpToShiftJis(JisState* state, const unsigned char* in, size_t size, int ended,
                           unsigned char* out, size_t* written) {
    size_t i = 0, o = 0;
    while (i < size) {
        unsigned byte = in[i];
        if (byte == 0x1B) {
            int length = jisEscape(in + i, size - i, &state->set);
            if (length == JIS_ESCAPE_CUT && !ended) break;
            if (length > 0) {
                i += size_t(length);
                continue;
            }
        }
        JisSet set = state->shiftedOut ? JIS_KATAKANA : state->set;
        if (byte == 0x0E || byte == 0x0F) {
            state->shiftedOut = byte == 0x0E;
        } else if (!isJisByte(byte)) {
            // Controls and line ends pass in any set; 8-bit katakana as it is.
            out[o++] = byte < 0x80 || isHalfWidthKatakana(byte) ? (unsigned char)byte : '?';
        } else if (set == JIS_KATAKANA) {
            out[o++] = byte <= 0x5F ? (unsigned char)(byte | 0x80) : '?';
        } else if (set == JIS_KANJI || set == JIS_SUPPLEMENT) {
            if (i + 1 >= size && !ended) break;
            if (i + 1 < size && isJisByte(in[i + 1])) {
                if (set == JIS_KANJI) {
                    shiftJisOfRowCell(int(byte) - 0x20, int(in[i + 1]) - 0x20, out + o);
                    o += 2;
                } else {
                    out[o++] = '?';
                }
                ++i;
            } else {
                out[o++] = '?';
            }
        } else {
            out[o++] = (unsigned char)byte;  // ASCII, or JIS-Roman whose ¥ and ‾ are the code page's 0x5C and 0x7E
        }
        ++i;
    }
    *written = o;
    return i;
}
