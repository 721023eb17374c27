#include "mainWindow.h"

#include "../document/documentLoader.h"

HWND mainWindow = nullptr;

namespace {

LRESULT onCreate(HWND) {
    captureDateTime();
    return 0;
}

void onKeyDown(HWND window, WPARAM key) {
    if (key == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
}

void onPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_KEYDOWN:
        onKeyDown(window, wParam);
        return 0;
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
