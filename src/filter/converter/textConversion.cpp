#include "textConversion.h"

#include <windows.h>

#include <cstring>

namespace {

const UINT SHIFT_JIS = 932;
const size_t PIECE_BYTES = 1 << 16;  // converted a piece at a time

bool startsWith(const std::string& text, const char* mark) {
    return text.compare(0, strlen(mark), mark) == 0;
}

void appendShiftJis(const wchar_t* wide, int count, std::string* output) {
    if (count <= 0) return;
    size_t at = output->size();
    output->resize(at + 2 * size_t(count));  // at most two bytes a character
    int written = WideCharToMultiByte(SHIFT_JIS, WC_NO_BEST_FIT_CHARS, wide, count, &(*output)[at],
                                      2 * count, nullptr, nullptr);
    output->resize(at + size_t(written));
}

// The end of a UTF-8 piece from `start` that cuts no character in two.
size_t utf8PieceEnd(const std::string& text, size_t start) {
    size_t end = start + PIECE_BYTES;
    if (end >= text.size()) return text.size();
    for (int back = 0; back < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++back) {
        --end;
    }
    return end;
}

// Gives 0 when `strict` and the bytes are not valid UTF-8.
int appendFromUtf8(const std::string& text, size_t start, int strict, std::string* output) {
    std::wstring wide;
    while (start < text.size()) {
        size_t end = utf8PieceEnd(text, start);
        int length = int(end - start);
        wide.resize(size_t(length));  // never more UTF-16 units than bytes
        int count = MultiByteToWideChar(CP_UTF8, strict ? MB_ERR_INVALID_CHARS : 0,
                                        text.data() + start, length, &wide[0], length);
        if (count == 0) return 0;
        appendShiftJis(wide.data(), count, output);
        start = end;
    }
    return 1;
}

void appendFromUtf16(const std::string& text, size_t start, int bigEndian, std::string* output) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data()) + start;
    size_t units = (text.size() - start) / 2;  // a lone last byte is no character
    std::wstring wide;
    for (size_t unit = 0; unit < units;) {
        size_t count = units - unit < PIECE_BYTES / 2 ? units - unit : PIECE_BYTES / 2;
        wide.resize(count);
        for (size_t i = 0; i < count; ++i) {
            unsigned first = bytes[2 * (unit + i)], second = bytes[2 * (unit + i) + 1];
            wide[i] = wchar_t(bigEndian ? first << 8 | second : second << 8 | first);
        }
        // A high surrogate at the end of a piece waits for its partner.
        if (unit + count < units && wide[count - 1] >= 0xD800 && wide[count - 1] <= 0xDBFF) --count;
        appendShiftJis(wide.data(), int(count), output);
        unit += count;
    }
}

}  // namespace

int toShiftJis(const std::string& input, std::string* output) {
    if (startsWith(input, "\xEF\xBB\xBF")) return appendFromUtf8(input, 3, 0, output);
    if (startsWith(input, "\xFF\xFE")) {
        appendFromUtf16(input, 2, 0, output);
        return 1;
    }
    if (startsWith(input, "\xFE\xFF")) {
        appendFromUtf16(input, 2, 1, output);
        return 1;
    }
    output->reserve(input.size());  // never longer than the UTF-8 it comes from
    return appendFromUtf8(input, 0, 1, output);
}
