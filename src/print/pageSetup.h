// The default printer at start-up and the page-setup command.
#pragma once
#include <windows.h>

int queryDefaultPrinter(HWND window);

// Shows page setup; on OK re-measures, re-lays out and stores the settings.
// Gives 1 when accepted (the caller then resizes and repaints the window).
int runPageSetup(HWND window);

// Margins for a printer with none stored: 20 mm, or the unprintable border
// where that is wider.
RECT defaultMargins();
