// Draws one page of the document on any device: the preview with the screen
// metrics, the printer with the printer metrics.
#pragma once
#include <windows.h>

#include "../print/pageMetrics.h"

struct LineNode;

void renderPage(HDC dc, const PageMetrics* metrics, int32_t pageIndex, int32_t columns,
                int32_t rowsPerPage);
void drawRow(HDC dc, int32_t x, int32_t y, const LineNode* line, int32_t rowIndex,
             int32_t charWidth, int32_t gridWidth, int32_t textWidth);
