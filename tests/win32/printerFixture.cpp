#include "printerFixture.h"

#include <cstring>

#include "print/pageMetrics.h"

namespace {

HGLOBAL makeDevNames(const char* device) {
    const char driver[] = "winspool";
    size_t deviceLength = strlen(device) + 1;
    size_t size = sizeof(DEVNAMES) + sizeof driver + deviceLength + 1;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    char* base = static_cast<char*>(GlobalLock(handle));
    DEVNAMES* names = reinterpret_cast<DEVNAMES*>(base);
    names->wDriverOffset = sizeof(DEVNAMES);
    names->wDeviceOffset = WORD(names->wDriverOffset + sizeof driver);
    names->wOutputOffset = WORD(names->wDeviceOffset + deviceLength);
    memcpy(base + names->wDriverOffset, driver, sizeof driver);
    memcpy(base + names->wDeviceOffset, device, deviceLength);
    GlobalUnlock(handle);
    return handle;
}

HGLOBAL makeDevMode(const char* device, short orientation) {
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(device), &printer, nullptr)) return nullptr;
    LONG size = DocumentPropertiesA(nullptr, printer, const_cast<char*>(device), nullptr, nullptr, 0);
    HGLOBAL handle = size > 0 ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size) : nullptr;
    if (handle) {
        DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(handle));
        DocumentPropertiesA(nullptr, printer, const_cast<char*>(device), mode, nullptr, DM_OUT_BUFFER);
        mode->dmOrientation = orientation;
        mode->dmPaperSize = DMPAPER_A4;
        mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
        GlobalUnlock(handle);
    }
    ClosePrinter(printer);
    return handle;
}

}  // namespace

bool selectPrinter(const char* name, short orientation, LONG margin) {
    releasePrinter();
    printerDevMode = makeDevMode(name, orientation);
    if (!printerDevMode) return false;
    printerDevNames = makeDevNames(name);
    savedOrientation = orientation;
    bool landscape = orientation == DMORIENT_LANDSCAPE;
    pageSetup.ptPaperSize = landscape ? POINT{29700, 21000} : POINT{21000, 29700};
    pageSetup.rtMargin = RECT{margin, margin, margin, margin};
    return true;
}

void releasePrinter() {
    if (printerDevMode) GlobalFree(printerDevMode);
    if (printerDevNames) GlobalFree(printerDevNames);
    printerDevMode = printerDevNames = nullptr;
}

short orientationOf(HGLOBAL devMode) {
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(devMode));
    short orientation = mode ? mode->dmOrientation : 0;
    GlobalUnlock(devMode);
    return orientation;
}
