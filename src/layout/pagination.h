// Cuts the document's rows into pages of rowsPerPage rows; a form feed line
// ends its page.
#pragma once
#include <cstdint>

struct LineNode;

struct PageStart {
    LineNode* firstLine;
    int32_t firstRow;  // counted from 1
};

extern PageStart* pages;
extern int32_t pageCount;
extern int32_t columnsPerRow;
extern int32_t rowsPerPage;
extern int32_t currentPage;

int32_t paginate(int32_t rowsPerPage);
// No pages: the table freed and the count 0.
void releasePages();
