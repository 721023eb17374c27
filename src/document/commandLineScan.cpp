#include "commandLineScan.h"

#include <cstring>

#include "../layout/leadByte.h"

namespace {

enum ScanState { IDLE, OPTION, BARE_NAME, QUOTED_NAME };

struct Scanner {
    ScanState state = IDLE;
    CommandLineScan result = {0, -1, -1, 0};
    int nameEnded = 0;

    void startName(int32_t at, ScanState nameState) {
        result.hasName = 1;
        result.nameStart = at;
        state = nameState;
    }
    void endName(int32_t last, ScanState next) {
        result.nameEnd = last;
        nameEnded = 1;
        state = next;
    }

    void doubleByte(int32_t i) {
        if ((state == IDLE || state == OPTION) && !result.hasName) startName(i, BARE_NAME);
    }

    void singleByte(char c, int32_t i) {
        switch (state) {
        case IDLE:
            if (c == ' ') break;
            if (c == '"') {
                if (!result.hasName) startName(i + 1, QUOTED_NAME);
            } else if (c == '/') {
                state = OPTION;
            } else if (!result.hasName) {
                startName(i, BARE_NAME);
            }
            break;
        case OPTION:
            if (c == ' ') state = IDLE;
            else if (c == 'p' || c == 'P') result.printAtOnce = 1;
            break;
        case BARE_NAME:
            if (c == '/') endName(i - 1, OPTION);
            break;
        case QUOTED_NAME:
            if (c == '"') endName(i - 1, IDLE);
            break;
        }
    }
};

}  // namespace

int startsCp932Character(unsigned char byte) {
    return isLeadByte(byte);
}

// A UTF-8 sequence's later bytes (0x80-0xBF) are never a space, a quote, a
// "/" or a "p": read one by one, they belong to whatever its first began.
int startsUtf8Sequence(unsigned char byte) {
    return byte >= 0xC0;
}

CommandLineScan scanCommandLine(const char* line, MultiByteStart startsMultiByte) {
    Scanner scanner;
    int32_t i = 0;
    for (; line[i]; ++i) {
        if (startsMultiByte(static_cast<unsigned char>(line[i]))) {
            scanner.doubleByte(i);
            if (!line[i + 1]) break;  // a lead byte at the very end ends the scan
            ++i;
        } else {
            scanner.singleByte(line[i], i);
        }
    }
    if (scanner.result.hasName && !scanner.nameEnded) {
        // The line ended inside the name: it runs to the last byte, which is
        // the lead byte the scan stopped at or the one before the terminator.
        scanner.result.nameEnd = line[i] ? i : i - 1;
    }
    return scanner.result;
}

const char* skipProgramName(const char* line) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    bool quoted = false;
    for (; *line && (quoted || !blank(*line)); ++line) {
        if (*line == '"') quoted = !quoted;
    }
    while (*line && blank(*line)) ++line;
    return line;
}

void copyBounded(const char* first, const char* last, char* buffer, int32_t size) {
    if (size <= 0) return;
    int32_t count = 0;
    if (last >= first) {
        long long span = (long long)(last - first) + 1;
        count = span > size - 1 ? size - 1 : int32_t(span);
    }
    memcpy(buffer, first, size_t(count));
    buffer[count] = '\0';
}
