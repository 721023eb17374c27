// Shared by the core tests: CP932 text from UTF-8 literals, documents loaded
// from memory in blocks, a chosen allocation made to fail, and the engine put
// back to the state of a freshly started program before every test.
#pragma once
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <string>

#include "document/allocation.h"
#include "document/documentReader.h"
#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/pageWalk.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

// Text that does not convert comes back as it is.
inline std::string convertText(std::string text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    std::string out(text.size() * 4 + 4, '\0');
    char *in = text.data(), *o = out.data();
    size_t inLeft = text.size(), outLeft = out.size();
    bool converted = iconv(cd, &in, &inLeft, &o, &outLeft) != size_t(-1);
    iconv_close(cd);
    return converted ? out.substr(0, out.size() - outLeft) : text;
}
inline std::string sjis(const std::string& utf8) { return convertText(utf8, "CP932", "UTF-8"); }
inline std::string utf8(const std::string& cp932) { return convertText(cp932, "UTF-8", "CP932"); }

// Serves bytes in reads of at most `chunk` bytes; read number `failAt`
// (from 1) fails.
struct MemorySource {
    std::string bytes;
    size_t chunk = READ_BLOCK_SIZE;
    int failAt = 0, reads = 0;
    size_t at = 0;
    static int read(void* context, char* buffer, int size, int* got) {
        MemorySource& s = *static_cast<MemorySource*>(context);
        if (++s.reads == s.failAt) return 0;
        *got = int(s.bytes.copy(buffer, std::min({size_t(size), s.chunk, s.bytes.size() - s.at}), s.at));
        s.at += size_t(*got);
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
        out += (line == head ? "" : "|") + std::to_string(line->lineNumber) + ":";
        if (line->text) out.append(line->text, size_t(line->length));
        if (line->pageBreakAfter) out += "^";
    }
    return utf8(out);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
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
