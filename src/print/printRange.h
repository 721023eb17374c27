// Which pages a job prints, from the print dialog's choices.
#pragma once
#include <cstdint>

// first..last (1-based) for a document of pageCount pages. With a chosen
// range, a first page of 0 counts as 1 and both ends are capped at the page
// count (last at least 1); first may end up above last: nothing is printed.
void choosePageRange(int usePageNumbers, uint16_t fromPage, uint16_t toPage, int32_t pageCount,
                     int32_t* first, int32_t* last);
