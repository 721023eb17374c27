// The printer selection as it was before a common dialog opened. The page
// setup and print dialogs write orientation, paper and margins into the
// records and the device mode they are given while the user works, so a
// cancelled dialog must put them back.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <vector>

struct PrinterSnapshot {
    PAGESETUPDLGA pageSetup;
    PRINTDLGA printDialog;
    HGLOBAL devModeHandle;
    std::vector<char> devMode;
};

void takePrinterSnapshot(PrinterSnapshot* snapshot);
void restorePrinterSnapshot(const PrinterSnapshot& snapshot);
