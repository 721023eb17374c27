#include "printRange.h"

#include <algorithm>

PageRange choosePageRange(int usePageNumbers, uint16_t fromPage, uint16_t toPage, int32_t pageCount) {
    if (!usePageNumbers || pageCount < 1) return PageRange{1, pageCount};
    int32_t from = std::max<int32_t>(fromPage, 1), to = std::min<int32_t>(toPage, pageCount);
    return PageRange{std::min(from, pageCount), std::max(to, 1)};
}

uint16_t dialogPageNumber(int32_t page) {
    return uint16_t(std::clamp<int32_t>(page, 1, 65535));
}
