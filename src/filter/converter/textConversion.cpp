#include "textConversion.h"

#include <windows.h>

#include <cstring>

namespace {

const UINT SHIFT_JIS = 932;

// The length of the UTF-8 sequence that `lead` starts, or 0 for a byte that
// starts none.
size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Characters that other systems write in a form code page 932 lacks, and the
// code page's own form of each: without them "1〜3" would print "1?3".
const wchar_t codePageForms[][2] = {
    {0x301C, 0xFF5E},  // wave dash
    {0x2212, 0xFF0D},  // minus sign
    {0x2016, 0x2225},  // double vertical line
    {0x2014, 0x2015},  // em dash
    {0x00A2, 0xFFE0},  // cent
    {0x00A3, 0xFFE1},  // pound
    {0x00AC, 0xFFE2},  // not
};

void takeCodePageForms(wchar_t* wide, int count) {
    for (int i = 0; i < count; ++i) {
        for (const auto& form : codePageForms) {
            if (wide[i] == form[0]) wide[i] = form[1];
        }
    }
}

}  // namespace

SourceEncoding encodingOfMark(const unsigned char* bytes, size_t size, size_t* markLength) {
    *markLength = 0;
    if (size >= 3 && !memcmp(bytes, "\xEF\xBB\xBF", 3)) return *markLength = 3, SOURCE_UTF8;
    if (size >= 2 && !memcmp(bytes, "\xFF\xFE", 2)) return *markLength = 2, SOURCE_UTF16LE;
    if (size >= 2 && !memcmp(bytes, "\xFE\xFF", 2)) return *markLength = 2, SOURCE_UTF16BE;
    return SOURCE_UNDECIDED;
}

SourceEncoding encodingOfWindow(const unsigned char* bytes, size_t size, int inputEnded) {
    size_t complete = inputEnded ? size : completeUtf8Length(bytes, size);
    int valid = complete == 0 || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS,
                                                     reinterpret_cast<const char*>(bytes),
                                                     int(complete), nullptr, 0) > 0;
    return valid ? SOURCE_UTF8 : SOURCE_AS_IS;
}

size_t completeUtf8Length(const unsigned char* bytes, size_t size) {
    // The last character starts at most three bytes before the end.
    for (size_t back = 1; back <= 4 && back <= size; ++back) {
        unsigned char byte = bytes[size - back];
        if ((byte & 0xC0) == 0x80) continue;
        size_t length = sequenceLength(byte);
        return length > back ? size - back : size;
    }
    return size;
}

int utf8ToUtf16(const unsigned char* bytes, size_t size, wchar_t* wide) {
    if (size == 0) return 0;
    return MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes), int(size), wide,
                               int(size));
}

size_t utf16ToShiftJis(wchar_t* wide, int count, char* output) {
    if (count <= 0) return 0;
    takeCodePageForms(wide, count);
    int written = WideCharToMultiByte(SHIFT_JIS, WC_NO_BEST_FIT_CHARS, wide, count, output,
                                      2 * count, nullptr, nullptr);
    return written > 0 ? size_t(written) : 0;
}
