// Entry: registers the window class, creates the preview window and runs the
// message loop.
#include <windows.h>

#include "appInstance.h"
#include "mainWindow.h"

namespace {

const char windowClassName[] = "pemoPrint";

ATOM registerWindowClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = appInstance;
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
                           workArea.left, workArea.top, 595, 842, nullptr, nullptr,
                           appInstance, nullptr);
}

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    appInstance = instance;
    if (!registerWindowClass()) return 1;
    mainWindow = createMainWindow();
    if (!mainWindow) return 1;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    return runMessageLoop();
}
