#include "pageSetup.h"

#include <cstring>

#include "../settings/registrySettings.h"
#include "deviceFont.h"
#include "pageArithmetic.h"
#include "pageMetrics.h"
#include "printerDialogs.h"

namespace {

void preparePrintDialog(HWND window) {
    memset(&printDialog, 0, sizeof printDialog);
    printDialog.lStructSize = sizeof printDialog;
    printDialog.hwndOwner = window;
    printDialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    printDialog.nFromPage = printDialog.nToPage = 1;
    printDialog.nMinPage = printDialog.nMaxPage = 1;
    printDialog.nCopies = 1;
}

}  // namespace

RECT defaultMargins() {
    RECT margins = {DEFAULT_MARGIN, DEFAULT_MARGIN, DEFAULT_MARGIN, DEFAULT_MARGIN};
    HDC printer = createPrinterDC();
    if (!printer) return margins;
    // The unprintable border on each side, in pixels.
    int offsetX = GetDeviceCaps(printer, PHYSICALOFFSETX), offsetY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    int rightBorder = GetDeviceCaps(printer, PHYSICALWIDTH) - GetDeviceCaps(printer, HORZRES) - offsetX;
    int bottomBorder = GetDeviceCaps(printer, PHYSICALHEIGHT) - GetDeviceCaps(printer, VERTRES) - offsetY;
    int dpiX = GetDeviceCaps(printer, LOGPIXELSX), dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    DeleteDC(printer);
    margins.left = marginForBorder(offsetX, dpiX);
    margins.top = marginForBorder(offsetY, dpiY);
    margins.right = marginForBorder(rightBorder, dpiX);
    margins.bottom = marginForBorder(bottomBorder, dpiY);
    return margins;
}

int queryDefaultPrinter(HWND window) {
    memset(&pageSetup, 0, sizeof pageSetup);
    pageSetup.lStructSize = sizeof pageSetup;
    pageSetup.hwndOwner = window;
    pageSetup.Flags = PSD_RETURNDEFAULT | PSD_INHUNDREDTHSOFMILLIMETERS;
    if (!runPageSetupDialog()) return 0;
    preparePrintDialog(window);
    int marginsFound = 0;
    loadPageSettings(&pageSetup.rtMargin, printerDevMode, &pageSetup.ptPaperSize, &marginsFound);
    // The platform gives no margins here: without stored ones, our own, measured
    // on the printer only then and in the orientation now in use.
    const RECT& given = pageSetup.rtMargin;
    if (!marginsFound && !given.left && !given.top && !given.right && !given.bottom) {
        pageSetup.rtMargin = defaultMargins();
    }
    return 1;
}

int runPageSetup(HWND window) {
    pageSetup.hwndOwner = window;
    pageSetup.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS;
    if (!runPageSetupDialog()) return 0;
    computePageMetrics(nullptr);
    HDC printer = createPrinterDC();
    if (printer) {
        createDeviceFont(printer, &printerMetrics);
        DeleteDC(printer);
    }
    updatePageGrid(&printerMetrics);
    if (!savePageSettings(&pageSetup.rtMargin, printerDevMode)) reportUnsavedSettings(window);
    return 1;
}
