// One font per device from the single stored description, and the page grid
// that the printer's font cell gives.
#pragma once
#include <windows.h>

#include "pageMetrics.h"

void initFontDialog(HWND owner);
BOOL runFontDialog(HWND owner, HDC printerDC, PageMetrics* metrics);
int createDeviceFont(HDC dc, PageMetrics* metrics);
void setDefaultFontDescription(LOGFONTA* logFont);
int updatePageGrid(PageMetrics* metrics);
