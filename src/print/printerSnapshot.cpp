#include "printerSnapshot.h"

#include <cstring>

#include "pageMetrics.h"

void takePrinterSnapshot(PrinterSnapshot* snapshot) {
    snapshot->pageSetup = pageSetup;
    snapshot->printDialog = printDialog;
    snapshot->devModeHandle = printerDevMode;
    snapshot->devMode.clear();
    const char* bytes = printerDevMode ? static_cast<const char*>(GlobalLock(printerDevMode)) : nullptr;
    if (bytes) {
        snapshot->devMode.assign(bytes, bytes + GlobalSize(printerDevMode));
        GlobalUnlock(printerDevMode);
    }
}

void restorePrinterSnapshot(const PrinterSnapshot& snapshot) {
    pageSetup = snapshot.pageSetup;
    printDialog = snapshot.printDialog;
    printerDevMode = snapshot.devModeHandle;
    printerDevNames = pageSetup.hDevNames;
    if (!printerDevMode || snapshot.devMode.empty()) return;
    if (GlobalSize(printerDevMode) < snapshot.devMode.size()) return;
    char* bytes = static_cast<char*>(GlobalLock(printerDevMode));
    if (!bytes) return;
    memcpy(bytes, snapshot.devMode.data(), snapshot.devMode.size());
    GlobalUnlock(printerDevMode);
}
