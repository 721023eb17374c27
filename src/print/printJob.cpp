#include "printJob.h"

#include "../app/appInstance.h"
#include "../app/focusKeeper.h"
#include "../app/resource.h"
#include "../document/documentLoader.h"
#include "../app/unicodeText.h"
#include "../document/wideNames.h"
#include "../layout/pageRenderer.h"
#include "../layout/pagination.h"
#include "printRange.h"

int32_t printCancelled = 0;
HWND progressDialog = nullptr;

namespace {

// The owner first, so that it takes the activation back; the dialog hidden
// before it goes, so that the activation moves while it still can.
void closeProgressDialog(HWND owner, HWND dialog) {
    EnableWindow(owner, TRUE);
    ShowWindow(dialog, SW_HIDE);
    DestroyWindow(dialog);
    progressDialog = nullptr;
}

}  // namespace

INT_PTR CALLBACK progressDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        return TRUE;
    case WM_COMMAND:
        // The button, Enter and Esc all cancel.
        printCancelled = 1;
        closeProgressDialog(GetParent(dialog), dialog);
        return TRUE;
    }
    return FALSE;
}

BOOL CALLBACK printAbortProc(HDC, int) {
    MSG message;
    while (!printCancelled && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (progressDialog && IsDialogMessageA(progressDialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return !printCancelled;
}

namespace {

// Sends one page; false when the printer refused it (both calls give zero
// or less for that).
bool printPage(HDC printer, const PageMetrics* metrics, int32_t page) {
    if (StartPage(printer) <= 0) return false;
    renderPage(printer, metrics, page - 1, columnsPerRow, rowsPerPage);
    return EndPage(printer) > 0;
}

// Sends the range; false when any page failed. Not every driver calls the
// abort procedure while it prints, so the job gives it its turn before each
// page itself: a Cancel then stops the job at the next page at the latest.
bool printPages(HDC printer, const PageMetrics* metrics, PageRange range) {
    bool ok = true;
    WORD copies = printDialog.nCopies;
    bool collate = (printDialog.Flags & PD_COLLATE) != 0;
    WORD passes = collate ? copies : 1;
    WORD copiesOfEachPage = collate ? 1 : copies;
    for (WORD pass = 0; pass < passes; ++pass) {
        for (int32_t page = range.first; page <= range.last; ++page) {
            for (WORD copy = 0; copy < copiesOfEachPage; ++copy) {
                if (!printAbortProc(printer, 0)) return ok;
                if (!printPage(printer, metrics, page)) {
                    ok = false;
                    break;  // the other copies of this page are skipped
                }
            }
        }
    }
    return ok;
}

}  // namespace

void reportPrintFailure(HWND owner) {
    showStringMessage(owner, IDS_PRINT_FAILED, MB_ICONERROR);
}

int printDocument(HWND owner, HDC printer, const PageMetrics* metrics) {
    FocusKeeper focus;
    PageRange range = choosePageRange((printDialog.Flags & PD_PAGENUMS) != 0,
                                      printDialog.nFromPage, printDialog.nToPage, pageCount);

    EnableWindow(owner, FALSE);
    printCancelled = 0;
    progressDialog = CreateDialogW(appInstance, MAKEINTRESOURCEW(IDD_PROGRESS), owner,
                                   progressDialogProc);
    SetAbortProc(printer, printAbortProc);
    // The job is named by the file's whole title, which names its PDF.
    DOCINFOW document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = documentTitleWide;

    int ok = StartDocW(printer, &document) > 0;
    if (ok) {
        captureDateTime();
        ok = printPages(printer, metrics, range);
        // A document the spooler refuses at its end has not been printed
        // either. A cancelled or failed one is abandoned: none of it must
        // reach the paper after the user or the printer said stop.
        if (ok && !printCancelled) ok = EndDoc(printer) > 0;
        else AbortDoc(printer);
    }
    if (!printCancelled) closeProgressDialog(owner, progressDialog);
    if (printCancelled) return 0;
    if (!ok) reportPrintFailure(owner);
    return ok;
}
