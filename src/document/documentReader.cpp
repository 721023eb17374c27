#include "documentReader.h"

#include <cstdint>
#include <cstring>

#include "lineList.h"

namespace {

struct ScanState {
    LineNode* node = nullptr;
    bool continuing = false;
    bool pendingCR = false;
};

// Ends the current line at `end`: the continuing line grows to it, or a new
// line is made of [segment, end). The byte at `end` becomes its NUL.
bool endLine(ScanState& state, char* segment, char* end) {
    if (state.continuing) {
        state.node->length += int32_t(end - segment);
    } else {
        LineNode* node = linkLineAt(segment, int32_t(end - segment));
        if (!node) return false;
        state.node = node;
    }
    *end = '\0';
    state.continuing = false;
    return true;
}

// The first position from i on whose byte may end a line (a byte below
// 0x0E), or n; eight bytes at a time. The lowest byte that the test marks in
// a word is always a true one, as no borrow reaches it. The text's
// terminator at n ends the last bytes' scan.
int findControlByte(const char* buffer, int i, int n) {
    const uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
    while (i + 8 <= n) {
        uint64_t word;
        memcpy(&word, buffer + i, sizeof word);
        uint64_t below = (word - ones * 0x0E) & ~word & highs;
        if (below) return i + (__builtin_ctzll(below) >> 3);  // bytes in memory order
        i += 8;
    }
    while (static_cast<unsigned char>(buffer[i]) > '\r') ++i;
    return i;
}

// Copies the block into the document's text and marks its lines there: a
// line's terminator becomes its NUL, a NUL byte a space. The bytes of a CR LF
// pair after the CR, and an LF cut from its CR, stay unused in the text.
bool scanBlock(ScanState& state, const char* buffer, int n) {
    if (n == 0) return true;
    char* bytes = appendBlockText(state.continuing ? state.node : nullptr, buffer, n);
    if (!bytes) return false;
    int begin = 0;
    if (state.pendingCR && bytes[0] == '\n') begin = 1;  // CR LF cut between blocks
    state.pendingCR = false;
    int segment = begin;
    for (int i = begin; i < n; ++i) {
        i = findControlByte(bytes, i, n);
        if (i >= n) break;
        char c = bytes[i];
        if (c == '\0') {
            bytes[i] = ' ';
        } else if (c == '\n' || c == '\r') {
            int end = i;  // a line ends before its CR, whether an LF follows or not
            if (c == '\r') {
                if (i == n - 1) state.pendingCR = true;
                else if (bytes[i + 1] == '\n') ++i;  // the pair ends one line
            }
            if (!endLine(state, bytes + segment, bytes + end)) return false;
            segment = i + 1;
        } else if (c == '\f') {
            if (!endLine(state, bytes + segment, bytes + i)) return false;
            state.node->pageBreakAfter = 1;
            --lineCounter;  // the next line repeats this line's number
            segment = i + 1;
        }
    }
    if (segment < n) {  // an unfinished line, NUL-terminated by appendBlockText
        if (state.continuing) {
            state.node->length += n - segment;
        } else {
            LineNode* node = linkLineAt(bytes + segment, n - segment);
            if (!node) return false;
            state.node = node;
            state.continuing = true;
        }
    }
    return true;
}

bool finishLines(const ScanState& state) {
    if (!head) {
        LineNode* line = newEmptyLine();
        if (!line) return false;
        head = tail = line;
    } else if (!state.continuing) {
        LineNode* line = newEmptyLine();
        if (!line) return false;
        tail->next = line;
        line->prev = tail;
        tail = line;
    }
    return true;
}

}  // namespace

int readLines(const BlockSource* source) {
    char buffer[READ_BLOCK_SIZE];
    ScanState state;
    clearLineList();
    for (;;) {
        int n = 0;
        // A source tells its end by a short block: a failed read is a failure,
        // wherever it comes, and the load must not pass for the whole file.
        if (!source->read(source->context, buffer, READ_BLOCK_SIZE, &n)) return 0;
        if (n < 0 || n > READ_BLOCK_SIZE) return 0;
        if (!scanBlock(state, buffer, n)) return 0;
        if (n < READ_BLOCK_SIZE) break;
    }
    return finishLines(state);
}
