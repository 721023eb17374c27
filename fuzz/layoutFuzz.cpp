// Loads arbitrary text, breaks it into rows and pages with settings taken from
// the input, and checks what the renderer relies on: rows tile each line,
// widths stay within the grid (one hanging character at most), and pages
// cover every row once, in order, ending early only at a form feed.
//
// Input header:
//   byte 0  columns 1..200        byte 1  rows per page 1..100
//   byte 2  bits 0-3 tab count - 1, bit 4 word wrap, bit 5 kinsoku,
//           bit 6 own kinsoku sets, bit 7 one allocation fails
//   byte 3  a second column count, to re-break with in between
//   byte 4  the page on display before paginating
//   own sets: three times a 16-bit length (mod 400) and that many bytes
//   failing allocation: a 16-bit index
// then the text.
#include <cstring>
#include <unordered_map>
#include <vector>

#include "document/lineList.h"
#include "fuzzSupport.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

namespace {

bool isDoubleByteAt(const char* p) {
    return isCp932Lead(uint8_t(p[0])) && p[1] != '\0';
}

bool isInSet(const char* set, const char* character, bool doubleByte) {
    for (const char* s = set; *s;) {
        bool setDoubleByte = isDoubleByteAt(s);
        if (setDoubleByte == doubleByte && s[0] == character[0] &&
            (!doubleByte || s[1] == character[1]))
            return true;
        s += setDoubleByte ? 2 : 1;
    }
    return false;
}

int32_t countCharacters(const char* text) {
    int32_t count = 0;
    for (const char* p = text; *p; p += isDoubleByteAt(p) ? 2 : 1) ++count;
    return count;
}

// Walks the rows of one line as the renderer would: each row from its start
// for its character count, the tab rule applied per row.
void checkRows(const LineNode* line) {
    const LayoutSettings& s = layoutSettings;
    const int32_t columns = s.columns;
    FUZZ_CHECK(line->text && line->text[line->length] == '\0');
    FUZZ_CHECK(line->rowCount >= 1);
    FUZZ_CHECK(line->charCount == countCharacters(line->text));

    const char* p = line->text;
    int64_t sum = 0;
    for (int32_t k = 0; k < line->rowCount; ++k) {
        const RowSpan& row = line->rows[k];
        FUZZ_CHECK(row.start == p);  // each row starts where the one before it ends
        FUZZ_CHECK(row.charCount >= 0);
        if (row.charCount == 0) FUZZ_CHECK(line->length == 0 && line->rowCount == 1);

        int64_t used = 0, usedBeforeLast = 0;
        const char* last = nullptr;
        bool lastDoubleByte = false;
        for (int32_t c = 0; c < row.charCount; ++c) {
            FUZZ_CHECK(*p != '\0');  // a row never runs past the line
            last = p;
            lastDoubleByte = isDoubleByteAt(p);
            usedBeforeLast = used;
            if (lastDoubleByte) used += 2;
            else if (*p == '\t') used += tabAdvance(used, s.tabCount, columns);
            else used += 1;
            p += lastDoubleByte ? 2 : 1;
        }
        sum += row.charCount;

        if (used > columns) {
            FUZZ_CHECK(used <= int64_t(columns) + 2);
            bool hangs = s.kinsoku && last && usedBeforeLast <= columns &&
                         isInSet(s.kinsokuHanging, last, lastDoubleByte);
            // A row's first character is placed whatever its width, so one
            // double-byte character overfills a one-column grid.
            bool loneWideCharacter = row.charCount == 1 && columns < 4;
            FUZZ_CHECK(hangs || loneWideCharacter);
            if (columns >= 4) FUZZ_CHECK(hangs);
        }
    }
    FUZZ_CHECK(p == line->text + line->length);  // the last row ends at the NUL
    FUZZ_CHECK(sum == line->charCount);
}

struct RowRecord {
    std::ptrdiff_t offset;
    int32_t charCount;
};

struct LineRecord {
    int32_t rowCount;
    int32_t charCount;
    std::vector<RowRecord> rows;
};

std::vector<LineRecord> recordRows() {
    std::vector<LineRecord> record;
    for (const LineNode* line = head; line; line = line->next) {
        LineRecord entry{line->rowCount, line->charCount, {}};
        for (int32_t k = 0; k < line->rowCount; ++k)
            entry.rows.push_back({line->rows[k].start - line->text, line->rows[k].charCount});
        record.push_back(std::move(entry));
    }
    return record;
}

int64_t breakAndCheck(int32_t columns) {
    breakAllLines(columns);
    FUZZ_CHECK(layoutSettings.columns == columns);
    int64_t rows = 0;
    for (const LineNode* line = head; line; line = line->next) {
        checkRows(line);
        rows += line->rowCount;
    }
    FUZZ_CHECK(totalRows == rows);
    return rows;
}

void checkPages(int32_t result, int32_t rowsPerPage, int32_t pageBefore) {
    std::unordered_map<const LineNode*, size_t> lineIndex;
    std::vector<int64_t> firstRowOf;  // global number of each line's first row
    std::vector<bool> startsAfterFormFeed;
    int64_t rows = 0;
    bool formFeedBefore = false;
    for (const LineNode* line = head; line; line = line->next) {
        lineIndex[line] = firstRowOf.size();
        firstRowOf.push_back(rows);
        startsAfterFormFeed.push_back(formFeedBefore);
        formFeedBefore = line->pageBreakAfter;
        rows += line->rowCount;
    }
    FUZZ_CHECK(totalRows == rows);

    if (rows == 0) {
        FUZZ_CHECK(result == 0 && pageCount == 0 && pages == nullptr);
        FUZZ_CHECK(currentPage == pageBefore);
        return;
    }
    FUZZ_CHECK(result == pageCount && pageCount >= 1 && pages != nullptr);
    FUZZ_CHECK(currentPage == (pageBefore >= pageCount ? pageCount - 1 : pageBefore));

    std::vector<int64_t> starts;
    for (int32_t p = 0; p < pageCount; ++p) {
        auto found = lineIndex.find(pages[p].firstLine);
        FUZZ_CHECK(found != lineIndex.end());
        FUZZ_CHECK(pages[p].firstRow >= 1 && pages[p].firstRow <= pages[p].firstLine->rowCount);
        starts.push_back(firstRowOf[found->second] + pages[p].firstRow - 1);
    }
    FUZZ_CHECK(starts[0] == 0);
    for (size_t p = 0; p < starts.size(); ++p) {
        int64_t end = p + 1 < starts.size() ? starts[p + 1] : rows;
        FUZZ_CHECK(end > starts[p] && end - starts[p] <= rowsPerPage);
        if (p + 1 < starts.size() && end - starts[p] < rowsPerPage) {
            // A short page ends with a form feed line's last row.
            auto found = lineIndex.find(pages[p + 1].firstLine);
            FUZZ_CHECK(pages[p + 1].firstRow == 1 && startsAfterFormFeed[found->second]);
        }
    }
    // And every form feed ends its page.
    size_t next = 0;
    for (size_t i = 0; i < firstRowOf.size(); ++i) {
        if (!startsAfterFormFeed[i]) continue;
        while (next < starts.size() && starts[next] < firstRowOf[i]) ++next;
        FUZZ_CHECK(next < starts.size() && starts[next] == firstRowOf[i]);
    }
}

void readSet(ByteReader& input, char* set) {
    char text[400 + 1];
    size_t length = input.take16() % 400;
    for (size_t i = 0; i < length; ++i) text[i] = char(input.take());
    text[length] = '\0';
    copyKinsokuSet(set, text);  // keeps at most 255 bytes, as a stored set does
    FUZZ_CHECK(strlen(set) <= KINSOKU_SET_SIZE - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader input{data, size};
    int32_t columns = 1 + input.take() % 200;
    int32_t rowsPerPage = 1 + input.take() % 100;
    uint8_t flags = input.take();
    int32_t otherColumns = 1 + input.take() % 200;
    int32_t pageBefore = input.take();

    LayoutSettings& s = layoutSettings;
    s.tabCount = 1 + (flags & 0x0f);
    s.wordWrap = (flags & 0x10) != 0;
    s.kinsoku = (flags & 0x20) != 0;
    if (flags & 0x40) {
        readSet(input, s.kinsokuLineStart);
        readSet(input, s.kinsokuHanging);
        readSet(input, s.kinsokuLineEnd);
    } else {
        copyKinsokuSet(s.kinsokuLineStart, defaultKinsokuLineStart);
        copyKinsokuSet(s.kinsokuHanging, defaultKinsokuHanging);
        copyKinsokuSet(s.kinsokuLineEnd, defaultKinsokuLineEnd);
    }
    long failAllocation = (flags & 0x80) ? long(input.take16() % 512) : -1;

    MemorySource source;
    source.data = input.data;
    source.size = input.size;
    BlockSource blocks = source.blockSource();
    AllocationFailure::disarm();
    FUZZ_CHECK(readLines(&blocks) == 1);

    breakAndCheck(columns);
    std::vector<LineRecord> first = recordRows();
    // Breaking again reuses each line's row table; the result must not depend
    // on what the table held before, nor on whether the middle of each row
    // is crossed by groups of bytes or character by character.
    breakAndCheck(otherColumns);
    rowBreakingByGroups = 0;
    breakAndCheck(columns);
    rowBreakingByGroups = 1;
    std::vector<LineRecord> again = recordRows();
    FUZZ_CHECK(again.size() == first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        FUZZ_CHECK(again[i].rowCount == first[i].rowCount);
        FUZZ_CHECK(again[i].charCount == first[i].charCount);
        for (size_t k = 0; k < first[i].rows.size(); ++k) {
            FUZZ_CHECK(again[i].rows[k].offset == first[i].rows[k].offset);
            FUZZ_CHECK(again[i].rows[k].charCount == first[i].rows[k].charCount);
        }
    }

    currentPage = pageBefore;
    int32_t result = paginate(rowsPerPage);
    checkPages(result, rowsPerPage, pageBefore);

    if (failAllocation >= 0) {
        // Out of memory while re-breaking: the one line hit loses its table
        // but keeps the rows and characters reached; the others are intact.
        AllocationFailure::fired = false;
        AllocationFailure::arm(failAllocation);
        breakAllLines(columns);
        bool firedWhileBreaking = AllocationFailure::fired;
        int32_t pageBeforeRetry = currentPage;
        result = paginate(rowsPerPage);
        bool firedWhilePaginating = AllocationFailure::fired && !firedWhileBreaking;
        AllocationFailure::disarm();

        int failedLines = 0;
        int64_t rows = 0;
        size_t i = 0;
        for (const LineNode* line = head; line; line = line->next, ++i) {
            const LineRecord& want = first[i];
            rows += line->rowCount;
            if (line->rows) {
                FUZZ_CHECK(line->rowCount == want.rowCount && line->charCount == want.charCount);
                for (int32_t k = 0; k < want.rowCount; ++k) {
                    FUZZ_CHECK(line->rows[k].start - line->text == want.rows[size_t(k)].offset);
                    FUZZ_CHECK(line->rows[k].charCount == want.rows[size_t(k)].charCount);
                }
                continue;
            }
            ++failedLines;
            FUZZ_CHECK(line->rowCount >= 1 && line->rowCount <= want.rowCount);
            int64_t reached = 0;
            for (int32_t k = 0; k < line->rowCount; ++k) reached += want.rows[size_t(k)].charCount;
            FUZZ_CHECK(line->charCount == reached);
        }
        FUZZ_CHECK(failedLines == (firedWhileBreaking ? 1 : 0));
        FUZZ_CHECK(totalRows == rows);
        if (firedWhilePaginating) {
            FUZZ_CHECK(result == 0 && pages == nullptr && pageCount >= 1);
            FUZZ_CHECK(currentPage == pageBeforeRetry);
        } else {
            checkPages(result, rowsPerPage, pageBeforeRetry);
        }
    }

    releasePages();
    clearLineList();
    return 0;
}
