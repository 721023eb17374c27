// One font per device from the single stored description, and the page grid
// that the printer's font cell gives.
#pragma once
#include <windows.h>

#include "pageMetrics.h"

void initFontDialog(HWND owner);
BOOL runFontDialog(HWND owner, HDC printerDC, PageMetrics* metrics);
void createDeviceFont(HDC dc, PageMetrics* metrics);
void setDefaultFontDescription(LOGFONTA* logFont);
// The grid of columnsPerRow and rowsPerPage from the metrics' font cell and
// text area; 0 when the font gives no cell, the grid unchanged.
int setPageGrid(const PageMetrics* metrics);
// The same, then the document broken and paginated anew where the grid
// changed.
int updatePageGrid(PageMetrics* metrics);
