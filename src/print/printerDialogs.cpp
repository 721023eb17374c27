#include "printerDialogs.h"

#include <cstring>
#include <vector>

#include "pageMetrics.h"

namespace {

std::vector<char> copyOf(HGLOBAL handle) {
    std::vector<char> bytes;
    const char* locked = handle ? static_cast<const char*>(GlobalLock(handle)) : nullptr;
    if (locked) {
        bytes.assign(locked, locked + GlobalSize(handle));
        GlobalUnlock(handle);
    }
    return bytes;
}

// Puts saved bytes back into a handle that can hold them.
void putBack(HGLOBAL handle, const std::vector<char>& bytes) {
    if (!handle || bytes.empty() || GlobalSize(handle) < bytes.size()) return;
    char* locked = static_cast<char*>(GlobalLock(handle));
    if (!locked) return;
    memcpy(locked, bytes.data(), bytes.size());
    GlobalUnlock(handle);
}

// Both dialogs write orientation, paper and margins into what they are given
// while the user works, so everything is saved before and put back on Cancel.
struct PrinterState {
    PAGESETUPDLGA pageSetup;
    PRINTDLGA printDialog;
    std::vector<char> devMode, devNames;

    PrinterState()
        : pageSetup(::pageSetup), printDialog(::printDialog), devMode(copyOf(printerDevMode)),
          devNames(copyOf(printerDevNames)) {}
    void restore() const {
        ::pageSetup = pageSetup;
        ::printDialog = printDialog;
        putBack(printerDevMode, devMode);
        putBack(printerDevNames, devNames);
    }
};

template <typename Record>
BOOL runOnPrinter(Record* record, BOOL(WINAPI* dialog)(Record*)) {
    PrinterState before;
    record->hDevMode = printerDevMode;
    record->hDevNames = printerDevNames;
    BOOL accepted = dialog(record);
    printerDevMode = record->hDevMode;
    printerDevNames = record->hDevNames;
    record->hDevMode = record->hDevNames = nullptr;
    if (!accepted) before.restore();
    return accepted;
}

}  // namespace

BOOL runPageSetupDialog() {
    return runOnPrinter(&pageSetup, PageSetupDlgA);
}

BOOL runPrintDialog() {
    return runOnPrinter(&printDialog, PrintDlgA);
}
