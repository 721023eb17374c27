#include "windowCommands.h"

#include "../layout/pagination.h"
#include "../print/deviceFont.h"
#include "../print/pageMetrics.h"
#include "../print/pageSetup.h"
#include "../print/printJob.h"
#include "../print/printRange.h"
#include "../print/printerDialogs.h"
#include "../settings/registrySettings.h"
#include "resource.h"
#include "windowSizing.h"

HMENU popupMenu = nullptr;

namespace {

const UINT resizeFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOCOPYBITS;

void repaintAll(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void printWithDialogChoices(HWND window) {
    HDC printer = printDialog.hDC;
    computePageMetrics(printer);
    createDeviceFont(printer, &printerMetrics);
    updatePageGrid(&printerMetrics);
    printDocument(window, printer, &printerMetrics);
    DeleteDC(printer);
    printDialog.hDC = nullptr;
}

void printCommand(HWND window) {
    if (pageCount < 1) {
        MessageBeep(0);
        return;
    }
    printDialog.hwndOwner = window;
    printDialog.nMinPage = 1;
    printDialog.nFromPage = printDialog.nToPage = dialogPageNumber(currentPage + 1);
    printDialog.nMaxPage = dialogPageNumber(pageCount);
    if (!runPrintDialog()) return;
    printWithDialogChoices(window);
    fitWindowToPage(window, resizeFlags);
    repaintAll(window);
}

void pageSetupCommand(HWND window) {
    if (!runPageSetup(window)) return;
    fitWindowToPage(window, resizeFlags);
    repaintAll(window);
}

void fontCommand(HWND window) {
    HDC printer = createPrinterDC();
    if (runFontDialog(window, printer, &screenMetrics)) {
        HDC screen = GetDC(window);
        createDeviceFont(screen, &screenMetrics);
        ReleaseDC(window, screen);
        printerMetrics.logFont = screenMetrics.logFont;
        createDeviceFont(printer, &printerMetrics);
        updatePageGrid(&printerMetrics);
        repaintAll(window);
        if (!saveFontSettings(&screenMetrics.logFont, pointSize)) reportUnsavedSettings(window);
    }
    if (printer) DeleteDC(printer);
}

void zoomCommand(HWND window, int32_t scale) {
    previewScale = scale;
    fitWindowToPage(window, resizeFlags);
    if (!savePreviewScale()) reportUnsavedSettings(window);
}

int zoomRadioMark(HMENU submenu) {
    UINT command = 0;
    switch (previewScale) {
    case 200: command = IDM_ZOOM200; break;
    case 150: command = IDM_ZOOM150; break;
    case 100: command = IDM_ZOOM100; break;
    case 80: command = IDM_ZOOM80; break;
    case 60: command = IDM_ZOOM60; break;
    default: return 0;
    }
    CheckMenuRadioItem(submenu, IDM_ZOOM200, IDM_ZOOM60, command, MF_BYCOMMAND);
    return 1;
}

void showContextMenu(HWND window, POINT at) {
    HMENU menu = GetSubMenu(popupMenu, 0);
    UINT paste = IsClipboardFormatAvailable(CF_HDROP) ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_PASTE, MF_BYCOMMAND | paste);
    EnableMenuItem(menu, IDM_PRINT, MF_BYCOMMAND | (pageCount > 0 ? MF_ENABLED : MF_GRAYED));
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

void contextMenuAtCorner(HWND window) {
    if (IsIconic(window)) return;
    RECT frame, workArea;
    GetWindowRect(window, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    POINT at = {frame.left > workArea.left ? frame.left : workArea.left,
                frame.top > workArea.top ? frame.top : workArea.top};
    showContextMenu(window, at);
}
