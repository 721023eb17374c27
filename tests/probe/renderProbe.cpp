// renderProbe: puts the page renderer on a real printer or on the screen, set
// up the way start-up does it, so that end-to-end tests can compare the
// printed or shown pages with the engine's layout.
//
//   renderProbe [--kinsoku] print PRINTER FILE [DOCNAME]
//       prints every page of FILE on PRINTER (A4 portrait, 20 mm margins).
//   renderProbe [--kinsoku] show FILE
//       shows page 1 in a borderless window of one sheet at 100 %; Esc closes.
//
// Results go to stdout as "key value..." lines, in the ANSI code page.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/appInstance.h"
#include "document/documentLoader.h"
#include "document/documentNames.h"
#include "layout/layoutSettings.h"
#include "layout/pageRenderer.h"
#include "layout/pagination.h"
#include "print/deviceFont.h"
#include "print/pageMetrics.h"
#include "printerFixture.h"

namespace {

const char windowClassName[] = "renderProbe";
const LONG marginHundredthsMm = 2000;

// The printer selection and page setup that page setup would leave behind.
bool selectA4Printer(const char* name) {
    if (!::selectPrinter(name, DMORIENT_PORTRAIT, marginHundredthsMm)) return false;
    pageSetup.lStructSize = sizeof pageSetup;
    return true;
}

// Start-up's order: geometry, the screen font, the printer font from a copy
// of the screen's description, the grid, then the document.
bool prepare(const char* file) {
    computePageMetrics(nullptr);
    setDefaultFontDescription(&screenMetrics.logFont);
    pointSize = 100;
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    createDeviceFont(display, &screenMetrics);
    DeleteDC(display);
    printerMetrics.logFont = screenMetrics.logFont;
    HDC printer = createPrinterDC();
    if (!printer) {
        fprintf(stderr, "renderProbe: no printer DC\n");
        return false;
    }
    createDeviceFont(printer, &printerMetrics);
    DeleteDC(printer);
    updatePageGrid(&printerMetrics);

    // A missing file would stop a headless run on the loader's message box.
    HANDLE probe = openInput(file);
    if (probe == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "renderProbe: cannot open %s\n", file);
        return false;
    }
    CloseHandle(probe);
    lstrcpynA(documentPath, file, PATH_BUFFER_SIZE);
    return loadDocument(nullptr) != 0;
}

void reportGrid() {
    printf("grid columns=%d rows=%d pages=%d\n", columnsPerRow, rowsPerPage, pageCount);
}

void reportMetrics(const char* name, const PageMetrics& m) {
    const RECT& t = m.textRect;
    printf("%s paper=%dx%d charWidth=%d lineHeight=%d text=%ld,%ld,%ld,%ld\n", name,
           m.paperWidth, m.paperHeight, m.charWidth, m.lineHeight, t.left, t.top, t.right,
           t.bottom);
}

int printDocument(const char* documentName) {
    HDC printer = createPrinterDC();
    if (!printer) return 3;
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = documentName;
    int status = 0;
    if (StartDocA(printer, &info) <= 0) {
        fprintf(stderr, "renderProbe: StartDoc failed\n");
        status = 4;
    } else {
        for (int32_t page = 0; page < pageCount; ++page) {
            StartPage(printer);
            renderPage(printer, &printerMetrics, page, columnsPerRow, rowsPerPage);
            EndPage(printer);
        }
        if (EndDoc(printer) <= 0) status = 5;
    }
    DeleteDC(printer);
    return status;
}

LRESULT CALLBACK probeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        renderPage(dc, &screenMetrics, 0, columnsPerRow, rowsPerPage);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int showFirstPage(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = probeWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = windowClassName;
    if (!RegisterClassExA(&windowClass)) return 3;
    HWND window = CreateWindowExA(0, windowClassName, "renderProbe", WS_POPUP, 0, 0,
                                  screenMetrics.paperWidth, screenMetrics.paperHeight, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 3;
    const RECT& t = screenMetrics.textRect;
    printf("text left=%ld top=%ld right=%ld bottom=%ld\n", t.left, t.top, t.right, t.bottom);
    reportGrid();
    reportMetrics("screen", screenMetrics);
    fflush(stdout);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

int usage() {
    fprintf(stderr,
            "usage: renderProbe [--kinsoku] print PRINTER FILE [DOCNAME]\n"
            "       renderProbe [--kinsoku] show FILE\n");
    return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    int argc = __argc;
    char** argv = __argv;
    int next = 1;
    if (next < argc && !strcmp(argv[next], "--kinsoku")) {
        layoutSettings.kinsoku = 1;
        ++next;
    }
    if (next >= argc) return usage();
    const char* command = argv[next++];
    int status = 0;
    if (!strcmp(command, "print") && argc - next >= 2 && argc - next <= 3) {
        const char* printer = argv[next];
        const char* file = argv[next + 1];
        const char* documentName = argc - next == 3 ? argv[next + 2] : "renderProbe";
        if (!selectA4Printer(printer)) {
            fprintf(stderr, "renderProbe: no printer %s\n", printer);
            return 3;
        }
        if (!prepare(file)) return 3;
        reportGrid();
        reportMetrics("printer", printerMetrics);
        fflush(stdout);
        status = printDocument(documentName);
    } else if (!strcmp(command, "show") && argc - next == 1) {
        char printer[256];
        DWORD size = sizeof printer;
        if (!GetDefaultPrinterA(printer, &size) || !selectA4Printer(printer)) {
            fprintf(stderr, "renderProbe: no default printer\n");
            return 3;
        }
        if (!prepare(argv[next])) return 3;
        status = showFirstPage(instance);
    } else {
        return usage();
    }
    fflush(stdout);
    return status;
}
