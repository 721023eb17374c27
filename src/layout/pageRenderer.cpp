#include "pageRenderer.h"

#include "../app/unicodeText.h"
#include "../document/lineList.h"
#include "../layout/pagination.h"
#include "headerFooterDrawing.h"
#include "pageWalk.h"

namespace {

struct RowPainter {
    HDC dc;
    const PageMetrics* metrics;
    RenderGeometry geometry;
};

void paintRow(void* context, LineNode* line, int32_t rowIndex, int32_t rowOnPage) {
    RowPainter& painter = *static_cast<RowPainter*>(context);
    const RenderGeometry& g = painter.geometry;
    int32_t y = rowTop(g, int64_t(rowOnPage) * g.lineHeight);
    if (rowIndex == 0) drawLineNumber(painter.dc, painter.metrics, y, line->lineNumber);
    drawRow(painter.dc, g.textLeft, y, line, rowIndex, g.charWidth, g.gridWidth, g.textWidth);
}

struct CellPainter {
    HDC dc;
    int32_t x, y;
    int32_t charWidth, gridWidth, textWidth;
    int stretch;
};

void paintCell(void* context, const char* bytes, int32_t byteCount, int64_t column) {
    CellPainter& painter = *static_cast<CellPainter*>(context);
    int32_t left = cellLeft(painter.x, column * painter.charWidth, painter.stretch,
                            painter.gridWidth, painter.textWidth);
    // The cell's character from code page 932, whatever the system's.
    wchar_t character[2];
    int units = widen(bytes, byteCount, character, 2);
    if (units) TextOutW(painter.dc, left, painter.y, character, units);
}

}  // namespace

void drawRow(HDC dc, int32_t x, int32_t y, const LineNode* line, int32_t rowIndex,
             int32_t charWidth, int32_t gridWidth, int32_t textWidth) {
    CellPainter painter{dc, x, y, charWidth, gridWidth, textWidth,
                        needsStretch(gridWidth, textWidth, charWidth)};
    walkRowCells(line, rowIndex, paintCell, &painter);
}

void renderPage(HDC dc, const PageMetrics* m, int32_t pageIndex, int32_t columns,
                int32_t rowsPerPage) {
    const RECT& text = m->textRect;
    RowPainter painter{dc, m,
                       makeRenderGeometry(text.left, text.top, text.right, text.bottom,
                                          m->charWidth, m->lineHeight, columns, rowsPerPage)};
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previousFont = m->font ? SelectObject(dc, m->font) : nullptr;
    walkPageRows(pageIndex, rowsPerPage, paintRow, &painter);
    drawHeaderFooter(dc, m, pageIndex + 1, pageCount);
    if (previousFont) SelectObject(dc, previousFont);
}
