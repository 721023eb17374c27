// pemo-layout: prints how the engine cuts a file into lines, rows and pages.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "document/lineList.h"
#include "document/stdioBlockSource.h"
#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "layout/pageWalk.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"

namespace {

const char usage[] =
    "usage: pemo-layout [--columns N] [--rows N] [--tab N] [--wrap] [--kinsoku]\n"
    "                   [--line-start HEX] [--hanging HEX] [--line-end HEX]\n"
    "                   [--pages [--numbers]] FILE\n";

struct Options {
    int32_t columns = 80;
    int32_t rows = 60;
    const char* file = nullptr;
    int pages = 0;    // print the pages' text instead of the records
    int numbers = 0;  // with line numbers before the lines' first rows
};

int parseCount(const char* text, int32_t* value) {
    char* end = nullptr;
    errno = 0;
    long long parsed = strtoll(text, &end, 10);
    if (errno || end == text || *end || parsed < 1 || parsed > INT32_MAX) return 0;
    *value = int32_t(parsed);
    return 1;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes hex into a set; the set is a C string, so it ends at a 00 byte
// or at 255 bytes.
int parseSet(const char* hex, char* set) {
    size_t length = strlen(hex);
    if (length % 2) return 0;
    size_t used = 0;
    int ended = 0;
    for (size_t i = 0; i < length; i += 2) {
        int high = hexDigit(hex[i]), low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return 0;
        char byte = char(high * 16 + low);
        if (byte == '\0') ended = 1;
        if (!ended && used < KINSOKU_SET_SIZE - 1) set[used++] = byte;
    }
    set[used] = '\0';
    return 1;
}

int parseOptions(int argc, char** argv, Options& options) {
    LayoutSettings& s = layoutSettings;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        int ok = 1;
        if (!strcmp(arg, "--wrap")) {
            s.wordWrap = 1;
            continue;
        } else if (!strcmp(arg, "--kinsoku")) {
            s.kinsoku = 1;
            continue;
        } else if (!strcmp(arg, "--pages")) {
            options.pages = 1;
            continue;
        } else if (!strcmp(arg, "--numbers")) {
            options.numbers = 1;
            continue;
        } else if (!strcmp(arg, "--columns") && value) {
            ok = parseCount(value, &options.columns);
        } else if (!strcmp(arg, "--rows") && value) {
            ok = parseCount(value, &options.rows);
        } else if (!strcmp(arg, "--tab") && value) {
            ok = parseCount(value, &s.tabCount);
        } else if (!strcmp(arg, "--line-start") && value) {
            ok = parseSet(value, s.kinsokuLineStart);
        } else if (!strcmp(arg, "--hanging") && value) {
            ok = parseSet(value, s.kinsokuHanging);
        } else if (!strcmp(arg, "--line-end") && value) {
            ok = parseSet(value, s.kinsokuLineEnd);
        } else if (arg[0] != '-' && !options.file && i == argc - 1) {
            options.file = arg;
            continue;
        } else {
            return 0;
        }
        if (!ok) return 0;
        ++i;
    }
    return options.file != nullptr;
}

void printLayout() {
    int32_t lineCount = 0;
    for (LineNode* line = head; line; line = line->next) ++lineCount;
    printf("document lines=%d rows=%d pages=%d\n", lineCount, totalRows, pageCount);
    int32_t index = 0;
    for (LineNode* line = head; line; line = line->next, ++index) {
        printf("line %d number=%d pagebreak=%d length=%d chars=%d rows=%d\n", index,
               line->lineNumber, line->pageBreakAfter ? 1 : 0, line->length, line->charCount,
               line->rowCount);
        for (int32_t k = 0; (line->rows || line->rowCount == 1) && k < line->rowCount; ++k) {
            RowSpan row = rowOf(line, k);
            printf("row %d %d offset=%ld chars=%d\n", index, k, long(row.start - line->text), row.charCount);
        }
    }
    int32_t pageLine = 0;
    LineNode* line = head;
    for (int32_t p = 0; pages && p < pageCount; ++p) {
        while (line && line != pages[p].firstLine) line = line->next, ++pageLine;
        printf("page %d line=%d row=%d\n", p, pageLine, pages[p].firstRow);
    }
}

void placeCell(void* context, const char* bytes, int32_t count, int64_t column) {
    int64_t& at = *static_cast<int64_t*>(context);
    for (; at < column; ++at) putchar(' ');  // the columns a tab skips
    fwrite(bytes, 1, size_t(count), stdout);
    at += count;
}

void printRow(void* numbered, LineNode* line, int32_t rowIndex, int32_t) {
    if (numbered) {
        char number[NUMBER_TEXT_SIZE] = "";
        if (rowIndex == 0) formatLineNumber(line->lineNumber, number, sizeof number);
        printf("%9s ", number);
    }
    int64_t at = 0;
    walkRowCells(line, rowIndex, placeCell, &at);
    putchar('\n');
}

// Each page's rows as the renderer places their characters, a form feed
// between pages; line numbers, when asked for, in the nine cells and the gap
// before the text.
void printPages(int32_t rows, int numbers) {
    for (int32_t p = 0; p < pageCount; ++p) {
        if (p) putchar('\f');
        walkPageRows(p, rows, printRow, numbers ? &numbers : nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        fputs(usage, stderr);
        return 2;
    }
    if (!readLinesFromPath(options.file)) {
        fprintf(stderr, "pemo-layout: cannot read %s\n", options.file);
        return 1;
    }
    breakAllLines(options.columns);
    paginate(options.rows);
    if (options.pages) {
        printPages(options.rows, options.numbers);
    } else {
        printLayout();
    }
    return 0;
}
