// The walk over one page's rows and one row's cells, shared by the page
// renderer and by anything that must know where the renderer draws.
#pragma once
#include <cstdint>

struct LineNode;

struct RenderGeometry {
    int32_t textLeft, textTop;
    int32_t textWidth, textHeight;
    int32_t gridWidth, gridHeight;
    int32_t charWidth, lineHeight;
    int stretchX, stretchY;
};

// The grid of `columns` x `rows` cells of charWidth x lineHeight laid over a
// text rectangle: stretched when it does not fit or leaves more than a cell.
RenderGeometry makeRenderGeometry(int32_t textLeft, int32_t textTop, int32_t textRight,
                                  int32_t textBottom, int32_t charWidth, int32_t lineHeight,
                                  int32_t columns, int32_t rows);

// Whether a grid of gridSize leaves the text size unfilled by more than a
// cell or does not fit in it.
int needsStretch(int32_t gridSize, int32_t textSize, int32_t cellSize);

// Device position of a row top (offset in grid pixels) and of a cell (advance).
int32_t rowTop(const RenderGeometry& g, int64_t offset);
int32_t cellLeft(int32_t x, int64_t advance, int stretch, int32_t gridWidth, int32_t textWidth);

// Calls visit for each row the page shows, in order, with the row's index
// within its line and the row's position on the page (0-based). Gives the
// number of rows visited; 0 for a page outside the document.
typedef void (*RowVisitor)(void* context, LineNode* line, int32_t rowIndex, int32_t rowOnPage);
int32_t walkPageRows(int32_t pageIndex, int32_t rowsPerPage, RowVisitor visit, void* context);

// Calls visit for each character of a row that leaves a mark: its bytes
// (1 or 2) and its column within the row. Tabs advance by the tab rule and
// draw nothing.
typedef void (*CellVisitor)(void* context, const char* bytes, int32_t byteCount, int64_t column);
void walkRowCells(const LineNode* line, int32_t rowIndex, CellVisitor visit, void* context);
