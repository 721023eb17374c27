// Feeds arbitrary bytes to readLines through block sources that cut the input
// anywhere, fail a read, or run out of memory, and compares the line list with
// lines split from the same bytes in one straightforward pass.
//
// Input: a mode byte, the mode's parameters, then the text.
//   mode 0: full 512-byte blocks, a short last block (a plain file)
//   mode 1: up to 15 read sizes 0..512 taken from the input, then full blocks
//   mode 2: like 1, and one read fails (optionally also the read at the end)
//   mode 3: full blocks, and one allocation fails
#include <cstring>
#include <string>
#include <vector>

#include "document/lineList.h"
#include "fuzzSupport.h"

namespace {

struct ExpectedLine {
    std::string text;
    int32_t number;
    bool pageBreakAfter;
};

// Whole-buffer line split: no blocks, so no CR LF pair can be cut.
std::vector<ExpectedLine> splitLines(const uint8_t* data, size_t size) {
    std::vector<ExpectedLine> lines;
    std::string current;
    int32_t counter = 0;
    auto endLine = [&](bool formFeed) {
        lines.push_back({current, ++counter, formFeed});
        if (formFeed) --counter;  // the next line repeats the number
        current.clear();
    };
    for (size_t i = 0; i < size; ++i) {
        uint8_t c = data[i];
        if (c == 0) {
            current += ' ';
        } else if (c == '\n') {
            endLine(false);
        } else if (c == '\r') {
            if (i + 1 < size && data[i + 1] == '\n') continue;
            endLine(false);
        } else if (c == '\f') {
            endLine(true);
        } else {
            current += char(c);
        }
    }
    endLine(false);  // the unfinished rest, or the empty line after a terminator
    return lines;
}

// What readLines should make of a source: replays its reads with the rule
// that a read shorter than a block ends the input and a failed read is the
// end only right after a full block.
struct ExpectedRead {
    bool ok;
    size_t consumed;
};

ExpectedRead replayReads(const MemorySource& model) {
    MemorySource source = model;
    source.reads = 0;
    source.position = 0;
    int lastBlock = 0;
    char buffer[READ_BLOCK_SIZE];
    for (;;) {
        int n = 0;
        if (!MemorySource::read(&source, buffer, READ_BLOCK_SIZE, &n)) {
            return {lastBlock == READ_BLOCK_SIZE, source.position};
        }
        lastBlock = n;
        if (n < READ_BLOCK_SIZE) return {true, source.position};
    }
}

size_t checkLinks() {
    size_t count = 0;
    FUZZ_CHECK(!head == !tail);
    if (!head) return 0;
    FUZZ_CHECK(head->prev == nullptr);
    FUZZ_CHECK(tail->next == nullptr);
    const LineNode* previous = nullptr;
    for (const LineNode* line = head; line; line = line->next) {
        FUZZ_CHECK(line->prev == previous);
        previous = line;
        ++count;
    }
    FUZZ_CHECK(previous == tail);
    return count;
}

bool sameText(const LineNode* line, const std::string& text) {
    return line->text && size_t(line->length) == text.size() && line->text[line->length] == '\0' &&
           memcmp(line->text, text.data(), text.size()) == 0;
}

void checkComplete(const std::vector<ExpectedLine>& expected, const uint8_t* data, size_t consumed) {
    size_t count = checkLinks();
    FUZZ_CHECK(count == expected.size());
    // The last line is the loader's own empty line unless the input stopped
    // inside a line.
    bool endsInsideLine = consumed > 0 && data[consumed - 1] != '\n' &&
                          data[consumed - 1] != '\r' && data[consumed - 1] != '\f';
    size_t index = 0;
    for (const LineNode* line = head; line; line = line->next, ++index) {
        const ExpectedLine& want = expected[index];
        FUZZ_CHECK(sameText(line, want.text));
        FUZZ_CHECK(line->lineNumber == want.number);
        FUZZ_CHECK(!!line->pageBreakAfter == want.pageBreakAfter);
        FUZZ_CHECK(line->charCount == 0);
        FUZZ_CHECK(line->rows == nullptr);
        bool madeEmpty = line == tail && !endsInsideLine;
        FUZZ_CHECK(line->rowCount == (madeEmpty ? 1 : 0));
    }
    FUZZ_CHECK(lineCounter == tail->lineNumber);
}

// After running out of memory the lines built so far stay: all but the last
// are whole, the last may have no text or only the start of its text.
void checkPartial(const std::vector<ExpectedLine>& expected) {
    size_t count = checkLinks();
    FUZZ_CHECK(count <= expected.size());
    size_t index = 0;
    for (const LineNode* line = head; line; line = line->next, ++index) {
        const ExpectedLine& want = expected[index];
        FUZZ_CHECK(line->lineNumber == want.number);
        if (line != tail) {
            FUZZ_CHECK(sameText(line, want.text));
            FUZZ_CHECK(!!line->pageBreakAfter == want.pageBreakAfter);
        } else if (line->text) {
            FUZZ_CHECK(line->length >= 0 && size_t(line->length) <= want.text.size());
            FUZZ_CHECK(line->text[line->length] == '\0');
            FUZZ_CHECK(memcmp(line->text, want.text.data(), size_t(line->length)) == 0);
            FUZZ_CHECK(!line->pageBreakAfter || want.pageBreakAfter);
        } else {
            FUZZ_CHECK(line->length == 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader input{data, size};
    MemorySource source;
    AllocationFailure::fired = false;
    int mode = input.take() % 4;
    long failAllocation = -1;
    if (mode == 1 || mode == 2) {
        int count = input.take() % 16;
        for (int i = 0; i < count; ++i) {
            // Half the reads full, so that short ones come after a few blocks.
            unsigned value = input.take16();
            source.sizes.push_back(value & 0x8000 ? READ_BLOCK_SIZE : int(value % (READ_BLOCK_SIZE + 1)));
        }
    }
    if (mode == 2) {
        uint8_t failure = input.take();
        source.failAt = failure & 0x1f;
        source.failAtEnd = failure & 0x80;
    }
    if (mode == 3) failAllocation = long(input.take16() % 2048);
    source.data = input.data;
    source.size = input.size;

    ExpectedRead expectedRead = replayReads(source);
    BlockSource blocks = source.blockSource();
    if (failAllocation >= 0) AllocationFailure::arm(failAllocation);
    int ok = readLines(&blocks);
    AllocationFailure::disarm();

    std::vector<ExpectedLine> expected = splitLines(source.data, expectedRead.consumed);
    if (!expectedRead.ok) {
        // Only the first read can fail the load, before any line exists.
        FUZZ_CHECK(ok == 0);
        FUZZ_CHECK(head == nullptr && tail == nullptr && lineCounter == 0);
    } else if (AllocationFailure::fired) {
        FUZZ_CHECK(ok == 0);
        checkPartial(expected);
    } else {
        FUZZ_CHECK(ok == 1);
        FUZZ_CHECK(source.position == expectedRead.consumed);
        checkComplete(expected, source.data, expectedRead.consumed);
    }

    clearLineList();
    FUZZ_CHECK(head == nullptr && tail == nullptr && lineCounter == 0);
    return 0;
}
