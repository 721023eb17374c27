#include "pageSetup.h"

#include <cstring>

#include "../settings/registrySettings.h"
#include "deviceFont.h"
#include "pageMetrics.h"
#include "printerDialogs.h"

namespace {

const LONG defaultMargin = 2000;  // hundredths of a millimetre

void preparePrintDialog(HWND window) {
    memset(&printDialog, 0, sizeof printDialog);
    printDialog.lStructSize = sizeof printDialog;
    printDialog.hwndOwner = window;
    printDialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
    printDialog.nFromPage = printDialog.nToPage = 1;
    printDialog.nMinPage = printDialog.nMaxPage = 1;
    printDialog.nCopies = 1;
}

LONG atLeast(LONG value, LONG minimum) {
    return value < minimum ? minimum : value;
}

}  // namespace

RECT defaultMargins() {
    RECT margins = {defaultMargin, defaultMargin, defaultMargin, defaultMargin};
    HDC printer = createPrinterDC();
    if (!printer) return margins;
    // The unprintable border, in hundredths of a millimetre.
    POINT border[2] = {
        {GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY)},
        {GetDeviceCaps(printer, PHYSICALWIDTH) - GetDeviceCaps(printer, HORZRES) -
             GetDeviceCaps(printer, PHYSICALOFFSETX),
         GetDeviceCaps(printer, PHYSICALHEIGHT) - GetDeviceCaps(printer, VERTRES) -
             GetDeviceCaps(printer, PHYSICALOFFSETY)},
    };
    int dpiX = GetDeviceCaps(printer, LOGPIXELSX), dpiY = GetDeviceCaps(printer, LOGPIXELSY);
    DeleteDC(printer);
    if (dpiX <= 0 || dpiY <= 0) return margins;
    margins.left = atLeast(MulDiv(border[0].x, 2540, dpiX), defaultMargin);
    margins.top = atLeast(MulDiv(border[0].y, 2540, dpiY), defaultMargin);
    margins.right = atLeast(MulDiv(border[1].x, 2540, dpiX), defaultMargin);
    margins.bottom = atLeast(MulDiv(border[1].y, 2540, dpiY), defaultMargin);
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
    savePageSettings(&pageSetup.rtMargin, printerDevMode);
    return 1;
}
