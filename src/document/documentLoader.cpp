#include "documentLoader.h"

#include "../app/appInstance.h"
#include "../app/focusKeeper.h"
#include "../app/resource.h"
#include "../app/unicodeText.h"
#include "../layout/pagination.h"
#include "../layout/rowBreaking.h"
#include "documentNames.h"
#include "earlyRead.h"
#include "handleBlockSource.h"
#include "lineList.h"
#include "wideNames.h"

namespace {

// Wait cursor and a disabled window for as long as a load runs, undone on
// every way out.
struct BusyGuard {
    FocusKeeper focus;
    HWND window;
    HCURSOR previousCursor;
    explicit BusyGuard(HWND w) : window(w) {
        previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        if (window) EnableWindow(window, FALSE);
    }
    ~BusyGuard() {
        if (previousCursor) SetCursor(previousCursor);
        if (window) EnableWindow(window, TRUE);
    }
};

struct HandleGuard {
    HANDLE handle;
    ~HandleGuard() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

// The message names the file by its whole name.
void reportReadFailure(HWND window) {
    wchar_t format[64];
    loadText(IDS_READ_FAILED, format, 64);
    wchar_t message[324] = L"";
    DWORD_PTR arguments[1] = {reinterpret_cast<DWORD_PTR>(documentPathWide)};
    FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, format, 0, 0,
                   message, 324, reinterpret_cast<va_list*>(arguments));
    showMessage(window, message, MB_ICONERROR);
}

}  // namespace

int readFromPath(const wchar_t* path) {
    HANDLE feeder = nullptr;
    HandleGuard input{openInput(path, &feeder)};
    HandleGuard feederThread{feeder ? feeder : INVALID_HANDLE_VALUE};
    if (input.handle == INVALID_HANDLE_VALUE) return 0;
    static HandleReader reader;  // its buffer is too large for the stack
    reader.handle = input.handle;
    reader.feeder = feeder;
    BlockSource source = handleBlockSource(&reader);
    return readLines(&source);
}

int readDocument(HWND window, const wchar_t* path) {
    int ok = 0;
    if (takeEarlyRead(path, &ok)) return ok;
    BusyGuard busy(window);
    return readFromPath(path);
}

void captureDateTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    formatDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
}

int loadDocument(HWND window) {
    takeDocumentNames();
    // The read replaces the lines that the page table points into, and the
    // failure message below paints the preview from its own message loop.
    releasePages();
    currentPage = 0;
    int ok = readDocument(window, documentPathWide);
    if (!ok) {
        clearLineList();
        reportReadFailure(window);
        clearDocumentNames();
    }
    breakAllLines(columnsPerRow);
    paginate(rowsPerPage);
    captureDateTime();
    return ok;
}
