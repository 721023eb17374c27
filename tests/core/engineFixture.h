// Shared helpers for the document engine tests: an in-memory block source,
// a switchable allocation failure, CP932 text from UTF-8 literals, and a
// fixture that puts every engine global back to its start-up state.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "document/allocation.h"
#include "document/documentReader.h"
#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

// Converts between encodings with iconv; gives "" (and fails the test) when
// the text cannot be converted.
inline std::string convertText(const std::string& text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) {
        ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
        return "";
    }
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* o = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (r == (size_t)-1) return "";
    out.resize(out.size() - outLeft);
    return out;
}

// Test text is written in UTF-8 and handed to the engine as CP932 bytes.
inline std::string sjis(const std::string& utf8) {
    std::string bytes = convertText(utf8, "CP932", "UTF-8");
    if (bytes.empty() && !utf8.empty()) ADD_FAILURE() << "not CP932 text: " << utf8;
    return bytes;
}

// Readable form of engine bytes for failure messages; raw when not valid CP932.
inline std::string utf8(const std::string& bytes) {
    std::string text = convertText(bytes, "UTF-8", "CP932");
    return text.empty() ? bytes : text;
}

// Serves a byte string through BlockSource. Reads follow `chunks` (each
// capped at the requested size), then go on with full requests; read number
// `failAtRead` (counted from 1) fails.
struct MemorySource {
    std::string bytes;
    std::vector<int> chunks;
    int failAtRead = 0;
    size_t offset = 0;
    int reads = 0;

    static int read(void* context, char* buffer, int size, int* bytesRead) {
        MemorySource& s = *static_cast<MemorySource*>(context);
        ++s.reads;
        if (s.reads == s.failAtRead) return 0;
        size_t want = size_t(size);
        if (size_t(s.reads) <= s.chunks.size() && size_t(s.chunks[s.reads - 1]) < want)
            want = size_t(s.chunks[s.reads - 1]);
        size_t n = std::min(want, s.bytes.size() - s.offset);
        s.bytes.copy(buffer, n, s.offset);
        s.offset += n;
        *bytesRead = int(n);
        return 1;
    }

    int load() {
        BlockSource source{&MemorySource::read, this};
        return readLines(&source);
    }
};

inline int loadBytes(const std::string& bytes, int failAtRead = 0) {
    MemorySource source;
    source.bytes = bytes;
    source.failAtRead = failAtRead;
    return source.load();
}

// Allocation counting: the hook counts every engine allocation and fails the
// one numbered `failingAllocation` (from 1; 0 fails none).
inline int allocationsSeen = 0;
inline int failingAllocation = 0;

inline int countingHook() { return ++allocationsSeen == failingAllocation; }

inline void failAllocation(int number) {
    allocationsSeen = 0;
    failingAllocation = number;
    allocationFailureHook = countingHook;
}

inline std::vector<LineNode*> documentLines() {
    std::vector<LineNode*> lines;
    for (LineNode* line = head; line; line = line->next) lines.push_back(line);
    return lines;
}

inline std::string lineText(const LineNode* line) {
    return line->text ? std::string(line->text, size_t(line->length)) : std::string();
}

// The bytes of each row, shown as UTF-8.
inline std::vector<std::string> rowTexts(const LineNode* line) {
    std::vector<std::string> rows;
    if (!line->rows) return rows;
    for (int32_t k = 0; k < line->rowCount; ++k) {
        const char* end =
            k + 1 < line->rowCount ? line->rows[k + 1].start : line->text + line->length;
        const char* begin = line->rows[k].start;
        rows.push_back(utf8(std::string(begin, end)));
    }
    return rows;
}

// Code page 932 lead bytes, kept apart from the engine's own test.
inline bool cp932Lead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Checks what must hold after any successful breaking: the rows tile the
// text in order, only an empty line has an empty row, and each row's
// charCount is the number of characters between its start and the next.
inline void expectRowsTileLine(const LineNode* line) {
    ASSERT_NE(line->rows, nullptr);
    ASSERT_GE(line->rowCount, 1);
    EXPECT_EQ(line->rows[0].start, line->text);
    int32_t sum = 0;
    for (int32_t k = 0; k < line->rowCount; ++k) {
        const char* begin = line->rows[k].start;
        const char* end =
            k + 1 < line->rowCount ? line->rows[k + 1].start : line->text + line->length;
        ASSERT_LE(begin, end) << "row " << k;
        if (line->length > 0) {
            EXPECT_LT(begin, end) << "empty row " << k;
        }
        int32_t chars = 0;
        for (const char* p = begin; p < end; ++chars)
            p += (cp932Lead((unsigned char)p[0]) && p[1] != '\0') ? 2 : 1;
        EXPECT_EQ(line->rows[k].charCount, chars) << "row " << k;
        sum += line->rows[k].charCount;
    }
    EXPECT_EQ(line->charCount, sum);
}

// Every test starts from the state of a freshly started program.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { resetEngine(); }
    void TearDown() override { resetEngine(); }

    static void resetEngine() {
        allocationFailureHook = nullptr;
        failingAllocation = 0;
        clearLineList();
        releasePages();
        pageCount = 0;
        currentPage = 0;
        totalRows = 0;
        LayoutSettings& s = layoutSettings;
        s.tabCount = 4;
        s.columns = INT32_MAX;
        s.wordWrap = 0;
        s.kinsoku = 0;
        copyKinsokuSet(s.kinsokuLineStart, defaultKinsokuLineStart);
        copyKinsokuSet(s.kinsokuHanging, defaultKinsokuHanging);
        copyKinsokuSet(s.kinsokuLineEnd, defaultKinsokuLineEnd);
    }
};
