// Shared by the core tests: CP932 text from UTF-8 literals, documents loaded
// from memory in blocks, a chosen allocation made to fail, and the engine put
// back to the state of a freshly started program before every test.
#pragma once
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "document/allocation.h"
#include "document/documentReader.h"
#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/pageWalk.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

inline std::string convertText(const std::string& text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    char* o = out.data();
    size_t inLeft = text.size(), outLeft = out.size();
    size_t result = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1)) return text;  // not convertible: shown as it is
    out.resize(out.size() - outLeft);
    return out;
}
inline std::string sjis(const std::string& utf8) { return convertText(utf8, "CP932", "UTF-8"); }
inline std::string utf8(const std::string& cp932) { return convertText(cp932, "UTF-8", "CP932"); }

// Serves `bytes` in reads of at most `chunk` bytes; read number `failAt`
// (from 1) fails.
struct MemorySource {
    std::string bytes;
    int chunk = READ_BLOCK_SIZE;
    int failAt = 0;
    size_t at = 0;
    int reads = 0;
    static int read(void* context, char* buffer, int size, int* got) {
        MemorySource& s = *static_cast<MemorySource*>(context);
        if (++s.reads == s.failAt) return 0;
        size_t n = std::min({size_t(size), size_t(s.chunk), s.bytes.size() - s.at});
        s.bytes.copy(buffer, n, s.at);
        s.at += n;
        *got = int(n);
        return 1;
    }
    int load() {
        BlockSource source{&MemorySource::read, this};
        return readLines(&source);
    }
};
inline int loadText(const std::string& bytes, int failAt = 0) {
    MemorySource source{bytes, READ_BLOCK_SIZE, failAt};
    return source.load();
}

inline int allocationsSeen = 0, failingAllocation = 0;
// Fails allocation number n (from 1) from now on; 0 fails none but counts.
inline void failAllocation(int n) {
    allocationsSeen = 0;
    failingAllocation = n;
    allocationFailureHook = []() -> int { return ++allocationsSeen == failingAllocation; };
}

// The document as "number:text" per line, "^" after a line that a form feed
// ended, lines joined by "|", shown as UTF-8.
inline std::string describeLines() {
    std::string out;
    for (LineNode* line = head; line; line = line->next) {
        if (line != head) out += "|";
        out += std::to_string(line->lineNumber) + ":";
        if (line->text) out.append(line->text, size_t(line->length));
        if (line->pageBreakAfter) out += "^";
    }
    return utf8(out);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        allocationFailureHook = nullptr;
        clearLineList();
        releasePages();
        pageCount = currentPage = totalRows = 0;
        LayoutSettings& s = layoutSettings;
        s.tabCount = 4;
        s.wordWrap = s.kinsoku = 0;
        copyKinsokuSet(s.kinsokuLineStart, defaultKinsokuLineStart);
        copyKinsokuSet(s.kinsokuHanging, defaultKinsokuHanging);
        copyKinsokuSet(s.kinsokuLineEnd, defaultKinsokuLineEnd);
    }
};
