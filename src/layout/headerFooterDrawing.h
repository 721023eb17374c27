#pragma once
#include <windows.h>

#include "../print/pageMetrics.h"

int drawHeaderFooter(HDC dc, const PageMetrics* metrics, int32_t pageNumber, int32_t pageCount);
int drawLineNumber(HDC dc, const PageMetrics* metrics, int32_t y, int32_t lineNumber);
