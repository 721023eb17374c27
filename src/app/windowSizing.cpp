#include "windowSizing.h"

#include "../print/pageArithmetic.h"
#include "../print/pageMetrics.h"

void fitWindowToPage(HWND window, UINT flags) {
    int32_t width = scaleForPreview(screenMetrics.paperWidth, previewScale);
    int32_t height = scaleForPreview(screenMetrics.paperHeight, previewScale);
    SetWindowPos(window, nullptr, 0, 0, width, height, flags);
}
