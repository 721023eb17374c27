#include "unicodeDecoding.h"

namespace {

const char16_t REPLACEMENT = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

int utf8Character(const unsigned char* bytes, size_t size, uint32_t* codePoint) {
    unsigned char lead = bytes[0];
    if (lead < 0x80) return *codePoint = lead, 1;
    int length = lead < 0xC2 ? 0 : lead <= 0xDF ? 2 : lead <= 0xEF ? 3 : lead <= 0xF4 ? 4 : 0;
    if (length == 0) return 0;
    // The second byte's range rules out overlong forms, surrogates and
    // code points past U+10FFFF.
    unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    uint32_t value = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (size_t(k) >= size) return UTF8_CUT;
        unsigned char byte = bytes[k];
        if (k == 1 ? byte < low || byte > high : !isContinuation(byte)) return 0;
        value = value << 6 | (byte & 0x3F);
    }
    *codePoint = value;
    return length;
}

size_t utf8ToUtf16(const unsigned char* bytes, size_t size, int ended, char16_t* units,
                   size_t* count) {
    size_t taken = 0, written = 0;
    while (taken < size) {
        uint32_t codePoint = REPLACEMENT;
        int length = utf8Character(bytes + taken, size - taken, &codePoint);
        if (length == UTF8_CUT && !ended) break;
        if (length <= 0) length = 1, codePoint = REPLACEMENT;
        if (codePoint >= 0x10000) {
            units[written++] = char16_t(0xD800 + ((codePoint - 0x10000) >> 10));
            units[written++] = char16_t(0xDC00 + (codePoint & 0x3FF));
        } else {
            units[written++] = char16_t(codePoint);
        }
        taken += size_t(length);
    }
    *count = written;
    return taken;
}

size_t utf16ToUnits(const unsigned char* bytes, size_t size, int bigEndian, int ended,
                    char16_t* units, size_t* count) {
    size_t pairs = size / 2;
    for (size_t i = 0; i < pairs; ++i) {
        unsigned first = bytes[2 * i], second = bytes[2 * i + 1];
        units[i] = char16_t(bigEndian ? first << 8 | second : second << 8 | first);
    }
    *count = pairs;
    if (ended) {
        if (size % 2) units[(*count)++] = REPLACEMENT;
        return size;
    }
    if (pairs > 0 && units[pairs - 1] >= 0xD800 && units[pairs - 1] <= 0xDBFF) --*count;
    return 2 * *count;
}

void takeCodePageForms(char16_t* units, size_t count) {
    static const struct {
        char16_t standard, codePage;
    } forms[] = {
        {0x301C, 0xFF5E},  // wave dash
        {0x2212, 0xFF0D},  // minus sign
        {0x2016, 0x2225},  // double vertical line
        {0x2014, 0x2015},  // em dash
        {0x00A2, 0xFFE0},  // cent
        {0x00A3, 0xFFE1},  // pound
        {0x00AC, 0xFFE2},  // not
        {0x00A5, 0x005C},  // yen: 0x5C, which Japanese fonts draw as ¥
        {0x203E, 0x007E},  // overline: 0x7E, drawn as ‾
    };
    for (size_t i = 0; i < count; ++i) {
        for (const auto& form : forms) {
            if (units[i] == form.standard) units[i] = form.codePage;
        }
    }
}
