// A filter for pemoPrint: reads a file on standard input and writes it in
// Shift_JIS on standard output. UTF-8 and marked UTF-16 are converted; other
// bytes, Shift_JIS among them, pass through unchanged.
#include <windows.h>

#include <string>

#include "textConversion.h"

namespace {

const DWORD READ_SIZE = 1 << 16;

// Reads until the input ends; a pipe ends with a failed read.
void readAll(HANDLE input, std::string* text) {
    std::string block(READ_SIZE, '\0');
    DWORD got = 0;
    while (ReadFile(input, &block[0], READ_SIZE, &got, nullptr) && got > 0) {
        text->append(block, 0, got);
    }
}

int writeAll(HANDLE output, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD want = text.size() - done < READ_SIZE ? DWORD(text.size() - done) : READ_SIZE;
        DWORD put = 0;
        if (!WriteFile(output, text.data() + done, want, &put, nullptr) || put == 0) return 0;
        done += put;
    }
    return 1;
}

}  // namespace

int main() {
    std::string input, converted;
    readAll(GetStdHandle(STD_INPUT_HANDLE), &input);
    const std::string& output = toShiftJis(input, &converted) ? converted : input;
    return writeAll(GetStdHandle(STD_OUTPUT_HANDLE), output) ? 0 : 1;
}
