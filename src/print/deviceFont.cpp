#include "deviceFont.h"

#include <cstring>

#include "../layout/pagination.h"
#include "../layout/rowBreaking.h"
#include "pageArithmetic.h"

void initFontDialog(HWND owner) {
    memset(&fontDialog, 0, sizeof fontDialog);
    fontDialog.lStructSize = sizeof fontDialog;
    fontDialog.hwndOwner = owner;
    fontDialog.lpLogFont = &screenMetrics.logFont;
    fontDialog.iPointSize = 100;
    fontDialog.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT |
                       CF_FIXEDPITCHONLY | CF_WYSIWYG | CF_SCALABLEONLY;
    pointSize = 100;
}

BOOL runFontDialog(HWND owner, HDC printerDC, PageMetrics* metrics) {
    fontDialog.hwndOwner = owner;
    fontDialog.hDC = printerDC;
    fontDialog.lpLogFont = &metrics->logFont;
    fontDialog.iPointSize = pointSize;
    BOOL chosen = ChooseFontA(&fontDialog);
    if (chosen) pointSize = fontDialog.iPointSize;
    return chosen;
}

void setDefaultFontDescription(LOGFONTA* logFont) {
    memset(logFont, 0, sizeof *logFont);
    logFont->lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(logFont->lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
}

int createDeviceFont(HDC dc, PageMetrics* m) {
    if (!dc) return 0;
    if (m->font) {
        DeleteObject(m->font);
        m->font = nullptr;
    }
    m->logFont.lfHeight = fontHeightForDevice(GetDeviceCaps(dc, LOGPIXELSY), pointSize);
    m->logFont.lfWidth = 0;
    m->font = CreateFontIndirectA(&m->logFont);
    HGDIOBJ previous = SelectObject(dc, m->font);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) {
        m->charWidth = metrics.tmAveCharWidth;
        m->lineHeight = metrics.tmHeight;
    }
    SelectObject(dc, previous);
    return m->font != nullptr;
}

int setPageGrid(const PageMetrics* m) {
    int32_t columns = 0, rows = 0;
    // A font without a cell size cannot give a grid: keep the previous one.
    const RECT& text = m->textRect;
    if (!computePageGrid(clampToInt32(int64_t(text.right) - text.left),
                         clampToInt32(int64_t(text.bottom) - text.top), m->charWidth,
                         m->lineHeight, &columns, &rows)) {
        return 0;
    }
    columnsPerRow = columns;
    rowsPerPage = rows;
    return 1;
}

int updatePageGrid(PageMetrics* m) {
    int32_t oldColumns = columnsPerRow;
    int32_t oldRows = rowsPerPage;
    if (!setPageGrid(m)) return 0;
    if (columnsPerRow != oldColumns) breakAllLines(columnsPerRow);
    if (columnsPerRow != oldColumns || rowsPerPage != oldRows) paginate(rowsPerPage);
    return 1;
}
