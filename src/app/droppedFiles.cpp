#include "droppedFiles.h"

#include <shellapi.h>

#include <cstring>
#include <new>

#include "../document/documentLoader.h"
#include "../document/documentNames.h"
#include "../layout/pagination.h"
#include "../print/pageMetrics.h"
#include "../print/printJob.h"
#include "../print/printRange.h"
#include "appInstance.h"
#include "dropList.h"
#include "resource.h"

namespace {

bool userWantsBatch(HWND window, UINT question) {
    char text[256] = "";
    LoadStringA(appInstance, question, text, sizeof text);
    return MessageBoxA(window, text, "pemoPrint", MB_ICONQUESTION | MB_YESNO) == IDYES;
}

void showLoaded(HWND window) {
    loadDocument(window);
    InvalidateRect(window, nullptr, TRUE);
}

struct ClipboardCopy {
    unsigned char* bytes = nullptr;
    size_t size = 0;
    ~ClipboardCopy() { delete[] bytes; }
};

// The clipboard's file list, copied so that the clipboard is closed before
// anything is loaded or asked. Its size is another program's to choose:
// when no copy can be had, the clipboard is closed all the same.
void copyClipboardFileList(HWND window, ClipboardCopy* copy) {
    if (!OpenClipboard(window)) return;
    HANDLE block = GetClipboardData(CF_HDROP);
    const unsigned char* bytes = block ? static_cast<const unsigned char*>(GlobalLock(block)) : nullptr;
    if (bytes) {
        size_t size = GlobalSize(block);
        copy->bytes = new (std::nothrow) unsigned char[size];
        if (copy->bytes) {
            memcpy(copy->bytes, bytes, size);
            copy->size = size;
        }
        GlobalUnlock(block);
    }
    CloseClipboard();
}

}  // namespace

int printFileAtOnce(HWND window) {
    if (!loadDocument(window)) return 1;  // its message is shown; the batch goes on
    DWORD flags = printDialog.Flags;
    printDialog.nFromPage = 1;
    printDialog.nToPage = dialogPageNumber(pageCount);
    printDialog.nCopies = 1;
    printDialog.Flags &= ~PD_PAGENUMS;  // every page, also beyond the 16-bit fields
    HDC printer = createPrinterDC();
    int printed = 0;
    if (printer) {
        printed = printDocument(window, printer, &printerMetrics);
        DeleteDC(printer);
    } else {
        reportPrintFailure(window);  // the printer has gone: the batch stops with a word
    }
    printDialog.Flags = flags;
    return printed;
}

void dropFilesCommand(HWND window, HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 1) {
        DragQueryFileA(drop, 0, documentPath, PATH_BUFFER_SIZE);
        showLoaded(window);
    } else if (count > 1 && userWantsBatch(window, IDS_PRINT_DROPPED)) {
        for (UINT i = 0; i < count; ++i) {
            DragQueryFileA(drop, i, documentPath, PATH_BUFFER_SIZE);
            if (!printFileAtOnce(window)) break;
        }
        InvalidateRect(window, nullptr, TRUE);
    }
    DragFinish(drop);
}

void pasteCommand(HWND window) {
    ClipboardCopy list;
    copyClipboardFileList(window, &list);
    DropCursor cursor;
    int refused = 0;
    if (!list.bytes || !startDropList(list.bytes, list.size, &cursor) ||
        !nextDropName(&cursor, documentPath, PATH_BUFFER_SIZE, &refused)) {
        return;  // no file list: nothing happens, silently
    }
    // A refused name comes back empty: its load fails with the usual message.
    if (!hasDropName(cursor)) {
        showLoaded(window);
        return;
    }
    if (!userWantsBatch(window, IDS_PRINT_PASTED)) return;
    while (printFileAtOnce(window) && nextDropName(&cursor, documentPath, PATH_BUFFER_SIZE, &refused)) {
    }
    InvalidateRect(window, nullptr, TRUE);
}
