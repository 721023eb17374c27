#include "printRange.h"

void choosePageRange(int usePageNumbers, uint16_t fromPage, uint16_t toPage, int32_t pageCount,
                     int32_t* first, int32_t* last) {
    if (!usePageNumbers || pageCount < 1) {
        *first = 1;
        *last = pageCount;
        return;
    }
    int32_t from = fromPage == 0 ? 1 : fromPage;
    *first = from > pageCount ? pageCount : from;
    int32_t to = toPage < pageCount ? toPage : pageCount;
    *last = to < 1 ? 1 : to;
}

uint16_t dialogPageNumber(int32_t page) {
    return uint16_t(page < 1 ? 1 : page > 65535 ? 65535 : page);
}
