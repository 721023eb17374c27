#include "previewPainter.h"

#include "../layout/pageRenderer.h"
#include "../layout/pagination.h"
#include "../print/pageArithmetic.h"
#include "../print/pageMetrics.h"

namespace {

RECT scaled(const RECT& r) {
    return RECT{scaleForPreview(r.left, previewScale), scaleForPreview(r.top, previewScale),
                scaleForPreview(r.right, previewScale), scaleForPreview(r.bottom, previewScale)};
}

void outlineTextArea(HDC dc, const RECT& r) {
    HPEN dotted = CreatePen(PS_DOT, 1, RGB(192, 192, 192));
    HGDIOBJ previous = SelectObject(dc, dotted);
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right, r.top);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left, r.bottom);
    LineTo(dc, r.left, r.top);
    SelectObject(dc, previous);
    DeleteObject(dotted);
}

}  // namespace

void paintPreview(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT printable = scaled(screenMetrics.printableRect);
    FrameRect(dc, &printable, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    outlineTextArea(dc, scaled(screenMetrics.textRect));

    // Logical units are screen pixels at 100 %: one set of metrics serves every zoom.
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, screenMetrics.paperWidth, screenMetrics.paperHeight, nullptr);
    SetViewportExtEx(dc, scaleForPreview(screenMetrics.paperWidth, previewScale),
                     scaleForPreview(screenMetrics.paperHeight, previewScale), nullptr);
    renderPage(dc, &screenMetrics, currentPage, columnsPerRow, rowsPerPage);
    EndPaint(window, &paint);
}
