#include "deviceFont.h"

#include <cstddef>
#include <cstring>

#include "../app/unicodeText.h"
#include "../layout/pagination.h"
#include "../layout/rowBreaking.h"
#include "pageArithmetic.h"

namespace {

// The stored description keeps its face name in code page 932; the system
// is asked in UTF-16, so that the name reads the same on any system.
LOGFONTW unicodeFont(const LOGFONTA& font) {
    LOGFONTW wide;
    memcpy(&wide, &font, offsetof(LOGFONTA, lfFaceName));
    widen(font.lfFaceName, int(strnlen(font.lfFaceName, LF_FACESIZE)), wide.lfFaceName, LF_FACESIZE);
    return wide;
}

LOGFONTW chosenFont;  // what the font dialog edits

}  // namespace

void initFontDialog(HWND owner) {
    memset(&fontDialog, 0, sizeof fontDialog);
    fontDialog.lStructSize = sizeof fontDialog;
    fontDialog.hwndOwner = owner;
    fontDialog.lpLogFont = &chosenFont;
    fontDialog.iPointSize = 100;
    fontDialog.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT |
                       CF_FIXEDPITCHONLY | CF_WYSIWYG | CF_SCALABLEONLY;
    pointSize = 100;
}

BOOL runFontDialog(HWND owner, HDC printerDC, PageMetrics* metrics) {
    fontDialog.hwndOwner = owner;
    fontDialog.hDC = printerDC;
    chosenFont = unicodeFont(metrics->logFont);
    fontDialog.lpLogFont = &chosenFont;
    fontDialog.iPointSize = pointSize;
    BOOL chosen = ChooseFontW(&fontDialog);
    if (!chosen) return chosen;  // the description stays as it was
    pointSize = fontDialog.iPointSize;
    memcpy(&metrics->logFont, &chosenFont, offsetof(LOGFONTA, lfFaceName));
    narrow(chosenFont.lfFaceName, metrics->logFont.lfFaceName, LF_FACESIZE);
    return chosen;
}

void setDefaultFontDescription(LOGFONTA* logFont) {
    memset(logFont, 0, sizeof *logFont);
    logFont->lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(logFont->lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
}

void createDeviceFont(HDC dc, PageMetrics* m) {
    if (!dc) return;
    if (m->font) {
        DeleteObject(m->font);
        m->font = nullptr;
    }
    m->logFont.lfHeight = fontHeightForDevice(fontPixelsPerInch(dc, m), pointSize);
    m->logFont.lfWidth = 0;
    LOGFONTW font = unicodeFont(m->logFont);
    m->font = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, m->font);
    TEXTMETRICW metrics;
    if (GetTextMetricsW(dc, &metrics)) {
        m->charWidth = metrics.tmAveCharWidth;
        m->lineHeight = metrics.tmHeight;
    }
    SelectObject(dc, previous);
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
