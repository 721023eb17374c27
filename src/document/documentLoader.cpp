#include "documentLoader.h"

#include "../app/appInstance.h"
#include "../app/focusKeeper.h"
#include "../app/resource.h"
#include "../layout/pagination.h"
#include "../layout/rowBreaking.h"
#include "documentNames.h"
#include "earlyRead.h"
#include "handleBlockSource.h"
#include "lineList.h"

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

void reportReadFailure(HWND window) {
    char format[64] = "";
    LoadStringA(appInstance, IDS_READ_FAILED, format, sizeof format);
    char message[324] = "";
    DWORD_PTR arguments[1] = {reinterpret_cast<DWORD_PTR>(documentPath)};
    FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, format, 0, 0,
                   message, sizeof message, reinterpret_cast<va_list*>(arguments));
    MessageBoxA(window, message, "pemoPrint", MB_ICONERROR);
}

}  // namespace

int readFromPath(const char* path) {
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

int readDocument(HWND window, const char* path) {
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
    // A failed lookup must not leave the previous document's title behind.
    documentTitle[0] = '\0';
    GetFileTitleA(documentPath, documentTitle, PATH_BUFFER_SIZE);
    // The read replaces the lines that the page table points into, and the
    // failure message below paints the preview from its own message loop.
    releasePages();
    currentPage = 0;
    int ok = readDocument(window, documentPath);
    if (!ok) {
        clearLineList();
        reportReadFailure(window);
        documentPath[0] = '\0';
        documentTitle[0] = '\0';
    }
    breakAllLines(columnsPerRow);
    paginate(rowsPerPage);
    captureDateTime();
    return ok;
}
