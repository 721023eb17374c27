#include "windowSizing.h"

#include "../print/deviceFont.h"
#include "../print/pageArithmetic.h"
#include "../print/pageMetrics.h"
#include "mainWindow.h"

void fitWindowToPage(HWND window, UINT flags) {
    int32_t width = scaleForPreview(screenMetrics.paperWidth, previewScale);
    int32_t height = scaleForPreview(screenMetrics.paperHeight, previewScale);
    SetWindowPos(window, nullptr, 0, 0, width, height, flags);
}

int32_t windowDpi(HWND window) {
    typedef UINT(WINAPI * DpiFunction)(HWND);
    static DpiFunction function = reinterpret_cast<DpiFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return function ? int32_t(function(window)) : 0;
}

void followDpiChange(HWND window, int32_t dpi, const RECT* suggested) {
    screenDpi = dpi;
    computePageMetrics(nullptr);
    HDC screen = GetDC(window);
    createDeviceFont(screen, &screenMetrics);
    ReleaseDC(window, screen);
    lastMovingRect = *suggested;  // the place is the system's, not a drag's
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 scaleForPreview(screenMetrics.paperWidth, previewScale),
                 scaleForPreview(screenMetrics.paperHeight, previewScale), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}
