// A filter for pemoPrint: reads a file on standard input and writes it in
// Shift_JIS on standard output. UTF-8 and marked UTF-16 are converted; other
// bytes, Shift_JIS among them, pass through unchanged. It works a piece at a
// time in buffers of its own, so that its memory stays the same whatever the
// size of the file.
#include <windows.h>

#include <cstring>

#include "../../document/pipeEnd.h"
#include "textConversion.h"

namespace {

const size_t PIECE_BYTES = 1 << 16;

// What has been read and not yet written; room for a piece, the decision
// window after it and the bytes of a cut character.
struct Input {
    HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    bool isPipe = GetFileType(handle) == FILE_TYPE_PIPE;
    bool ended = false;
    bool failed = false;
    unsigned char bytes[PIECE_BYTES + DECISION_WINDOW + 8];
    size_t start = 0, end = 0;

    size_t held() const { return end - start; }
    const unsigned char* data() const { return bytes + start; }
    void take(size_t count) { start += count; }

    // Reads until `want` bytes are held or the input has ended.
    void fill(size_t want) {
        memmove(bytes, bytes + start, held());
        end -= start;
        start = 0;
        if (want > sizeof bytes) want = sizeof bytes;
        while (!ended && end < want) {
            DWORD got = 0;
            if (!ReadFile(handle, bytes + end, DWORD(sizeof bytes - end), &got, nullptr)) {
                failed = !isPipe || GetLastError() != ERROR_BROKEN_PIPE;
                ended = true;
            } else if (got == 0 && emptyReadEnds(handle, isPipe)) {
                ended = true;
            }
            end += got;
        }
    }
};

struct Output {
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    bool failed = false;

    void write(const void* data, size_t size) {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0 && !failed) {
            DWORD put = 0;
            if (!WriteFile(handle, bytes, DWORD(size), &put, nullptr) || put == 0) failed = true;
            bytes += put;
            size -= put;
        }
    }
};

Input input;
Output output;
wchar_t wide[PIECE_BYTES + 8];
char converted[2 * (PIECE_BYTES + 8)];

void writeShiftJis(int units) {
    output.write(converted, utf16ToShiftJis(wide, units, converted));
}

// Before the first byte above 0x7F the text reads the same in every
// encoding and is written as it is; the window after it decides.
SourceEncoding decideWithoutMark() {
    for (;;) {
        input.fill(PIECE_BYTES);
        size_t ascii = 0;
        while (ascii < input.held() && input.data()[ascii] < 0x80) ++ascii;
        output.write(input.data(), ascii);
        input.take(ascii);
        if (input.held() > 0) break;
        if (input.ended) return SOURCE_AS_IS;
    }
    input.fill(DECISION_WINDOW);
    size_t window = input.held() < DECISION_WINDOW ? input.held() : DECISION_WINDOW;
    return encodingOfWindow(input.data(), window, input.ended && window == input.held());
}

void passAsItIs() {
    for (input.fill(PIECE_BYTES); input.held() > 0 && !output.failed; input.fill(PIECE_BYTES)) {
        output.write(input.data(), input.held());
        input.take(input.held());
    }
}

void convertUtf8() {
    for (input.fill(PIECE_BYTES); input.held() > 0 && !output.failed; input.fill(PIECE_BYTES)) {
        size_t piece = input.held() < PIECE_BYTES ? input.held() : PIECE_BYTES;
        size_t complete = input.ended && piece == input.held() ? piece : completeUtf8Length(input.data(), piece);
        if (complete == 0) complete = piece;  // no character ends in a whole piece: none will
        writeShiftJis(utf8ToUtf16(input.data(), complete, wide));
        input.take(complete);
    }
}

void convertUtf16(bool bigEndian) {
    for (input.fill(PIECE_BYTES); input.held() > 1 && !output.failed; input.fill(PIECE_BYTES)) {
        size_t units = (input.held() < PIECE_BYTES ? input.held() : PIECE_BYTES) / 2;
        const unsigned char* bytes = input.data();
        for (size_t i = 0; i < units; ++i) {
            unsigned first = bytes[2 * i], second = bytes[2 * i + 1];
            wide[i] = wchar_t(bigEndian ? first << 8 | second : second << 8 | first);
        }
        // A high surrogate at the end of a piece waits for its partner.
        bool more = !input.ended || input.held() > 2 * units + 1;
        if (more && units > 1 && wide[units - 1] >= 0xD800 && wide[units - 1] <= 0xDBFF) --units;
        writeShiftJis(int(units));
        input.take(2 * units);
    }
}

}  // namespace

int main() {
    input.fill(3);
    size_t mark = 0;
    SourceEncoding encoding = encodingOfMark(input.data(), input.held(), &mark);
    input.take(mark);
    if (encoding == SOURCE_UNDECIDED) encoding = decideWithoutMark();
    if (encoding == SOURCE_UTF8) {
        convertUtf8();
    } else if (encoding == SOURCE_AS_IS) {
        passAsItIs();
    } else {
        convertUtf16(encoding == SOURCE_UTF16BE);
    }
    return input.failed || output.failed ? 1 : 0;
}
