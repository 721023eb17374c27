#include "printerDialogs.h"

#include <cstring>
#include <new>

#include "pageMetrics.h"

namespace {

// A copy of what a handle holds. No copy (`complete` false) when memory for
// it cannot be had; an empty handle gives an empty copy.
struct SavedBytes {
    char* bytes = nullptr;
    size_t size = 0;
    bool complete = true;

    explicit SavedBytes(HGLOBAL handle) {
        const char* locked = handle ? static_cast<const char*>(GlobalLock(handle)) : nullptr;
        if (!locked) return;
        size = GlobalSize(handle);
        bytes = new (std::nothrow) char[size];
        complete = bytes != nullptr;
        if (bytes) memcpy(bytes, locked, size);
        GlobalUnlock(handle);
    }
    ~SavedBytes() { delete[] bytes; }
    SavedBytes(const SavedBytes&) = delete;
    SavedBytes& operator=(const SavedBytes&) = delete;

    // Into a handle that can hold them.
    void putBack(HGLOBAL handle) const {
        if (!handle || !bytes || size == 0 || GlobalSize(handle) < size) return;
        char* locked = static_cast<char*>(GlobalLock(handle));
        if (!locked) return;
        memcpy(locked, bytes, size);
        GlobalUnlock(handle);
    }
};

// Both dialogs write orientation, paper and margins into what they are given
// while the user works, so everything is saved before and put back on Cancel.
struct PrinterState {
    PAGESETUPDLGA pageSetup = ::pageSetup;
    PRINTDLGA printDialog = ::printDialog;
    SavedBytes devMode{printerDevMode}, devNames{printerDevNames};

    void restore() const {
        ::pageSetup = pageSetup;
        ::printDialog = printDialog;
        devMode.putBack(printerDevMode);
        devNames.putBack(printerDevNames);
    }
};

template <typename Record>
BOOL runOnPrinter(Record* record, BOOL(WINAPI* dialog)(Record*)) {
    PrinterState before;
    // What could not be saved could not be put back after a Cancel: no dialog.
    if (!before.devMode.complete || !before.devNames.complete) return FALSE;
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
