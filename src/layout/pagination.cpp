#include "pagination.h"

#include "../document/allocation.h"
#include "../document/lineList.h"
#include "rowBreaking.h"

PageStart* pages = nullptr;
int32_t pageCount = 0;
int32_t columnsPerRow = 0;
int32_t rowsPerPage = 0;
int32_t currentPage = 0;

// Without a table there are no pages: a count left behind would have the
// renderer and the print job take header-only pages for the document.
void releasePages() {
    releaseBytes(pages);
    pages = nullptr;
    pageCount = 0;
}

static bool addPage(LineNode* line, int32_t firstRow) {
    // Grown geometrically: entries 1, 2, 4, 8, ... (pageCount is already the new count)
    int32_t index = pageCount - 1;
    if (index == 0 || (index & (index - 1)) == 0) {
        size_t entries = index == 0 ? 1 : size_t(index) * 2;
        PageStart* grown =
            static_cast<PageStart*>(reallocateBytes(pages, entries * sizeof(PageStart)));
        if (!grown) {
            releasePages();
            return false;
        }
        pages = grown;
    }
    pages[index].firstLine = line;
    pages[index].firstRow = firstRow;
    return true;
}

int32_t paginate(int32_t rows) {
    releasePages();
    if (rows < 1 || totalRows < 1 || !head) return 0;
    pageCount = 1;
    if (!addPage(head, 1)) return 0;

    LineNode* line = head;
    int64_t filled = line->rowCount;
    for (;;) {
        while (filled <= rows) {
            if (line->pageBreakAfter && line->next) {
                line = line->next;
                filled = int64_t(line->rowCount) + rows;
                break;
            }
            line = line->next;
            if (!line) goto complete;
            filled += line->rowCount;
        }
        ++pageCount;
        filled -= rows;
        if (!addPage(line, int32_t(line->rowCount - filled + 1))) return 0;
    }
complete:
    if (currentPage >= pageCount) currentPage = pageCount - 1;
    return pageCount;
}
