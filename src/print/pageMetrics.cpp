#include "pageMetrics.h"

#include "pageArithmetic.h"

PageMetrics screenMetrics;
PageMetrics printerMetrics;
int32_t pointSize = 100;
int32_t previewScale = 100;
PAGESETUPDLGA pageSetup;
HGLOBAL printerDevMode = nullptr;
HGLOBAL printerDevNames = nullptr;
PRINTDLGA printDialog;
int16_t savedOrientation = 0;
int32_t screenDpi = 0;
CHOOSEFONTW fontDialog;

HDC createPrinterDC() {
    if (!printerDevMode || !printerDevNames) return nullptr;
    DEVMODEA* devMode = static_cast<DEVMODEA*>(GlobalLock(printerDevMode));
    DEVNAMES* devNames = static_cast<DEVNAMES*>(GlobalLock(printerDevNames));
    HDC dc = nullptr;
    if (devMode && devNames) {
        const char* device = reinterpret_cast<const char*>(devNames) + devNames->wDeviceOffset;
        dc = CreateDCA(nullptr, device, nullptr, devMode);
    }
    if (devNames) GlobalUnlock(printerDevNames);
    if (devMode) GlobalUnlock(printerDevMode);
    return dc;
}

void toScreenPixels(HDC displayDC, POINT* points, int count) {
    int32_t dpiX = screenDpi ? screenDpi : GetDeviceCaps(displayDC, LOGPIXELSX);
    int32_t dpiY = screenDpi ? screenDpi : GetDeviceCaps(displayDC, LOGPIXELSY);
    for (int i = 0; i < count; ++i) {
        points[i].x = himetricToScreen(points[i].x, dpiX, 0);
        points[i].y = himetricToScreen(points[i].y, dpiY, 1);
    }
}

int32_t fontPixelsPerInch(HDC dc, const PageMetrics* metrics) {
    return metrics == &screenMetrics && screenDpi ? screenDpi : GetDeviceCaps(dc, LOGPIXELSY);
}

namespace {

MarginBox marginsOf(const RECT& r) {
    return MarginBox{r.left, r.top, r.right, r.bottom};
}

// The print dialog may have turned the sheet: follow it in memory.
void followOrientation() {
    DEVMODEA* devMode = static_cast<DEVMODEA*>(GlobalLock(printerDevMode));
    if (!devMode) return;
    int16_t orientation = devMode->dmOrientation;
    GlobalUnlock(printerDevMode);
    if (orientation == savedOrientation) return;
    // Only a turn between portrait and landscape turns the sheet.
    int turned = savedOrientation >= ORIENTATION_PORTRAIT && savedOrientation <= ORIENTATION_LANDSCAPE &&
                 orientation >= ORIENTATION_PORTRAIT && orientation <= ORIENTATION_LANDSCAPE;
    savedOrientation = orientation;
    if (!turned) return;
    POINT& paper = pageSetup.ptPaperSize;
    LONG width = paper.x;
    paper.x = paper.y;
    paper.y = width;
    MarginBox margins = marginsOf(pageSetup.rtMargin);
    rotateMargins(&margins, orientation);
    pageSetup.rtMargin = RECT{margins.left, margins.top, margins.right, margins.bottom};
}

void adoptMeasuredPaper(HDC printer) {
    POINT measured = {printerMetrics.paperWidth, printerMetrics.paperHeight};
    DPtoLP(printer, &measured, 1);
    measured.y = -measured.y;
    POINT& paper = pageSetup.ptPaperSize;
    paper.x = adoptMeasuredPaperSize(paper.x, roundUpToMillimetre(measured.x));
    paper.y = adoptMeasuredPaperSize(paper.y, roundUpToMillimetre(measured.y));
}

void measurePrinter(HDC printer, int fromPrintDialog) {
    SetMapMode(printer, MM_HIMETRIC);
    printerMetrics.paperWidth = GetDeviceCaps(printer, PHYSICALWIDTH);
    printerMetrics.paperHeight = GetDeviceCaps(printer, PHYSICALHEIGHT);
    if (fromPrintDialog) {
        followOrientation();
        adoptMeasuredPaper(printer);
    }
    int offsetX = GetDeviceCaps(printer, PHYSICALOFFSETX);
    int offsetY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    printerMetrics.printableRect = RECT{offsetX, offsetY, offsetX + GetDeviceCaps(printer, HORZRES),
                                        offsetY + GetDeviceCaps(printer, VERTRES)};
    screenMetrics.printableRect = printerMetrics.printableRect;
    DPtoLP(printer, reinterpret_cast<POINT*>(&screenMetrics.printableRect), 2);

    const RECT& m = pageSetup.rtMargin;
    const POINT& paper = pageSetup.ptPaperSize;
    RECT text = {m.left, clampToInt32(-int64_t(m.top)), clampToInt32(int64_t(paper.x) - m.right),
                 clampToInt32(int64_t(m.bottom) - paper.y)};
    screenMetrics.textRect = text;
    LPtoDP(printer, reinterpret_cast<POINT*>(&text), 2);
    printerMetrics.textRect =
        RECT{text.left - offsetX, text.top - offsetY, text.right - offsetX, text.bottom - offsetY};
    SetMapMode(printer, MM_TEXT);
}

void measureScreen() {
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    POINT paper = {pageSetup.ptPaperSize.x, -pageSetup.ptPaperSize.y};
    toScreenPixels(display, &paper, 1);
    screenMetrics.paperWidth = paper.x;
    screenMetrics.paperHeight = paper.y;
    toScreenPixels(display, reinterpret_cast<POINT*>(&screenMetrics.printableRect), 2);
    toScreenPixels(display, reinterpret_cast<POINT*>(&screenMetrics.textRect), 2);
    DeleteDC(display);
}

}  // namespace

int computePageMetrics(HDC printerDC) {
    HDC printer = printerDC ? printerDC : createPrinterDC();
    // Without a printer there is nothing to measure: keep what was measured before.
    if (!printer) return 0;
    measurePrinter(printer, printerDC != nullptr);
    if (!printerDC) DeleteDC(printer);
    measureScreen();
    return 1;
}
