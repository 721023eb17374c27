// Entry: start-up in order, printing at once with "/p" or showing the
// preview, the message loop, and the teardown on every way out.
#include <windows.h>

#include "../document/commandLineFile.h"
#include "../document/documentLoader.h"
#include "../document/documentNames.h"
#include "../document/earlyRead.h"
#include "../document/wideNames.h"
#include "../filter/filterSwitch.h"
#include "../layout/pagination.h"
#include "../print/deviceFont.h"
#include "../print/pageMetrics.h"
#include "../print/pageSetup.h"
#include "../print/printRange.h"
#include "../print/printerDialogs.h"
#include "../settings/registrySettings.h"
#include "appInstance.h"
#include "mainWindow.h"
#include "messageLoop.h"
#include "resource.h"
#include "windowCommands.h"
#include "windowSizing.h"

namespace {

const char windowClassName[] = "pemoPrint";

ATOM registerWindowClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_PEMOPRINT));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(
        appInstance, MAKEINTRESOURCEA(IDI_PEMOPRINT), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = windowClassName;
    return RegisterClassExA(&windowClass);
}

HWND createMainWindow() {
    RECT workArea;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    return CreateWindowExA(WS_EX_ACCEPTFILES, windowClassName, "pemoPrint",
                           WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                           workArea.left, workArea.top, CW_USEDEFAULT, 0, nullptr, nullptr,
                           appInstance, nullptr);
}

// Fonts for both devices from the stored description, and the grid. The
// document is left alone: the command-line file may still be being read,
// and its load breaks it for this grid.
void prepareFontsAndGrid() {
    initFontDialog(nullptr);
    setDefaultFontDescription(&screenMetrics.logFont);
    pointSize = 100;
    loadFontSettings(&screenMetrics.logFont, &pointSize);
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    createDeviceFont(display, &screenMetrics);
    DeleteDC(display);
    printerMetrics.logFont = screenMetrics.logFont;
    HDC printer = createPrinterDC();
    if (printer) {
        createDeviceFont(printer, &printerMetrics);
        DeleteDC(printer);
    }
    setPageGrid(&printerMetrics);
}

void printCommandLineDocument(HWND window) {
    printDialog.hwndOwner = window;
    printDialog.nMaxPage = dialogPageNumber(pageCount);
    if (runPrintDialog()) printWithDialogChoices(window);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// Releases what lives for the whole process, on every way out.
struct Teardown {
    ~Teardown() {
        abandonEarlyRead();
        if (screenMetrics.font) DeleteObject(screenMetrics.font);
        if (printerMetrics.font) DeleteObject(printerMetrics.font);
        if (printerDevMode) GlobalFree(printerDevMode);
        if (printerDevNames) GlobalFree(printerDevNames);
        releasePages();
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Teardown teardown;
    appInstance = instance;
    loadProgramSettings();
    loadEditorSettings();  // before the read: a filter's command may name the tab count
    if (GetEnvironmentVariableA("PEMO_FILTER_CANCEL", nullptr, 0)) filterCancel = 1;
    int fileNamed = takeCommandLineFile(GetCommandLineW());  // the names whole, not the code page's
    if (fileNamed) startEarlyRead(documentPathWide);
    if (!registerWindowClass()) return 1;
    mainWindow = createMainWindow();
    if (!mainWindow) return 1;
    if (!queryDefaultPrinter(mainWindow)) return 0;  // nothing to print on: end quietly
    screenDpi = windowDpi(mainWindow);  // the preview's screen, not the system's first
    computePageMetrics(nullptr);
    prepareFontsAndGrid();
    fitWindowToPage(mainWindow, SWP_NOMOVE);

    if (fileNamed && loadDocument(nullptr) && printAtOnce) {
        printCommandLineDocument(mainWindow);
    } else {
        ShowWindow(mainWindow, showCommand);
        UpdateWindow(mainWindow);
    }
    filterCancel = 0;
    return runMessageLoop(mainWindow, LoadAcceleratorsA(appInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS)));
}
