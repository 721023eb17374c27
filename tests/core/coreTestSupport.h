// Shared by the core tests: CP932 text from UTF-8 literals, documents loaded
// from memory, and the engine as a freshly started program has it.
#pragma once
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "engineInput.h"
#include "document/lineList.h"
#include "layout/layoutSettings.h"
#include "layout/pageWalk.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

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

inline int loadText(const std::string& bytes, int failAt = 0) { return MemorySource{bytes, READ_BLOCK_SIZE, failAt}.load(); }

// The document as "number:text" per line, "^" after a line that a form feed ended, lines joined
// by "|", shown as UTF-8; "<broken>" where the list's links or a line's length do not hold.
inline std::string describeLines() {
    std::string out;
    LineNode* previous = nullptr;
    for (LineNode* line = head; line; previous = line, line = line->next) {
        out += (line == head ? "" : "|") + std::to_string(line->lineNumber) + ":";
        out.append(line->text, size_t(line->length));
        if (line->pageBreakAfter) out += "^";
        if (line->prev != previous || strlen(line->text) != size_t(line->length)) out += "<broken>";
    }
    return utf8(tail == previous ? out : out + "<broken>");
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
        s.tabCount = 4, s.wordWrap = s.kinsoku = 0;
        copyKinsokuSet(s.kinsokuLineStart, defaultKinsokuLineStart);
        copyKinsokuSet(s.kinsokuHanging, defaultKinsokuHanging);
        copyKinsokuSet(s.kinsokuLineEnd, defaultKinsokuLineEnd);
    }
};
