// Which pages a job prints, from the print dialog's choices.
#pragma once
#include <cstdint>

// first..last (1-based) for a document of pageCount pages. With a chosen
// range, a first page of 0 counts as 1 and both ends are capped at the page
// count (last at least 1); first may end up above last: nothing is printed.
// A document without pages prints nothing, whatever the range.
struct PageRange {
    int32_t first, last;
};
PageRange choosePageRange(int usePageNumbers, uint16_t fromPage, uint16_t toPage, int32_t pageCount);

// A page number for the print dialog's 16-bit fields: 1 to 65535, so that a
// longer document still offers a range (printing "All" prints every page).
uint16_t dialogPageNumber(int32_t page);
