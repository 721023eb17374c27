#include "pageWalk.h"

#include "../document/lineList.h"
#include "layoutSettings.h"
#include "pagination.h"
#include "rowBreaking.h"

int needsStretch(int32_t gridSize, int32_t textSize, int32_t cellSize) {
    // A grid without size cannot be stretched onto anything.
    if (gridSize <= 0) return 0;
    return gridSize > textSize || int64_t(cellSize) + gridSize < textSize;
}

RenderGeometry makeRenderGeometry(int32_t textLeft, int32_t textTop, int32_t textRight,
                                  int32_t textBottom, int32_t charWidth, int32_t lineHeight,
                                  int32_t columns, int32_t rows) {
    RenderGeometry g;
    g.textLeft = textLeft;
    g.textTop = textTop;
    g.textWidth = int32_t(int64_t(textRight) - textLeft);
    g.textHeight = int32_t(int64_t(textBottom) - textTop);
    g.gridWidth = int32_t(int64_t(columns) * charWidth);
    g.gridHeight = int32_t(int64_t(rows) * lineHeight);
    g.charWidth = charWidth;
    g.lineHeight = lineHeight;
    g.stretchX = needsStretch(g.gridWidth, g.textWidth, charWidth);
    g.stretchY = needsStretch(g.gridHeight, g.textHeight, lineHeight);
    return g;
}

int32_t rowTop(const RenderGeometry& g, int64_t offset) {
    int64_t y = g.stretchY ? offset * g.textHeight / g.gridHeight : offset;
    return int32_t(g.textTop + y);
}

int32_t cellLeft(int32_t x, int64_t advance, int stretch, int32_t gridWidth, int32_t textWidth) {
    int64_t shift = stretch ? advance * textWidth / gridWidth : advance;
    return int32_t(x + shift);
}

int32_t walkPageRows(int32_t pageIndex, int32_t rowsPerPage, RowVisitor visit, void* context) {
    if (pageCount <= 0 || !pages || pageIndex < 0 || pageIndex >= pageCount) return 0;
    LineNode* line = pages[pageIndex].firstLine;
    int32_t row = pages[pageIndex].firstRow;
    int32_t visited = 0;
    while (line && visited < rowsPerPage) {
        visit(context, line, row - 1, visited);
        ++visited;
        if (row < line->rowCount) {
            ++row;
        } else if (line->pageBreakAfter) {
            break;
        } else {
            line = line->next;
            row = 1;
        }
    }
    return visited;
}

void walkRowCells(const LineNode* line, int32_t rowIndex, CellVisitor visit, void* context) {
    if (rowIndex < 0 || rowIndex >= line->rowCount) rowIndex = 0;
    RowSpan row = rowOf(line, rowIndex);
    const char* p = row.start;
    int32_t count = row.charCount;
    if (!p) return;
    int64_t used = 0;
    for (int32_t i = 0; i < count && *p; ++i) {
        if (isDoubleByte(p)) {
            visit(context, p, 2, used);
            used += 2;
            p += 2;
        } else if (*p == '\t') {
            used += tabAdvance(used, layoutSettings.tabCount, layoutSettings.columns);
            p += 1;
        } else {
            visit(context, p, 1, used);
            used += 1;
            p += 1;
        }
    }
}
