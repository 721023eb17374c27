#include "printRange.h"

#include <algorithm>

PageRange choosePageRange(int usePageNumbers, uint16_t fromPage, uint16_t toPage, int32_t pageCount) {
    if (!usePageNumbers || pageCount < 1) return PageRange{1, pageCount};
    int32_t from = fromPage == 0 ? 1 : fromPage;
    int32_t to = toPage < pageCount ? toPage : pageCount;
    return PageRange{from > pageCount ? pageCount : from, to < 1 ? 1 : to};
}

uint16_t dialogPageNumber(int32_t page) {
    return uint16_t(std::clamp<int32_t>(page, 1, 65535));
}
