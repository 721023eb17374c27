#include "droppedFiles.h"

#include <shellapi.h>

#include <cstring>
#include <new>

#include "../document/documentLoader.h"
#include "../document/wideNames.h"
#include "../layout/pagination.h"
#include "../print/pageMetrics.h"
#include "../print/printJob.h"
#include "../print/printRange.h"
#include "dropList.h"
#include "resource.h"
#include "unicodeText.h"

namespace {

bool userWantsBatch(HWND window, UINT question) {
    return showStringMessage(window, question, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

// A dropped name of PATH_BUFFER_SIZE units or more is not cut into the name
// of another file: it is left empty, and its load fails with the message.
void nameDroppedFile(HDROP drop, UINT index) {
    wchar_t name[PATH_BUFFER_SIZE] = L"";
    if (DragQueryFileW(drop, index, nullptr, 0) < PATH_BUFFER_SIZE) DragQueryFileW(drop, index, name, PATH_BUFFER_SIZE);
    nameDocument(name);
}

// The clipboard's next name, kept as it is.
int namePastedFile(DropCursor* cursor) {
    uint16_t name[WIDE_NAME_LIMIT];
    int refused = 0;
    if (!nextDropName(cursor, name, &refused)) return 0;
    nameDocument(reinterpret_cast<wchar_t*>(name));  // a refused name comes back empty
    return 1;
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
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 1) {
        nameDroppedFile(drop, 0);
        showLoaded(window);
    } else if (count > 1 && userWantsBatch(window, IDS_PRINT_DROPPED)) {
        for (UINT i = 0; i < count; ++i) {
            nameDroppedFile(drop, i);
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
    if (!list.bytes || !startDropList(list.bytes, list.size, &cursor) || !namePastedFile(&cursor)) {
        return;  // no file list: nothing happens, silently
    }
    if (!hasDropName(cursor)) {
        showLoaded(window);
        return;
    }
    if (!userWantsBatch(window, IDS_PRINT_PASTED)) return;
    while (printFileAtOnce(window) && namePastedFile(&cursor)) {
    }
    InvalidateRect(window, nullptr, TRUE);
}
