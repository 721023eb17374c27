#include "headerFooterDrawing.h"

#include "../app/unicodeText.h"
#include "headerFooter.h"

namespace {

// Drawn from code page 932, whatever the system's.
void drawTemplate(HDC dc, const char* templateText, RECT* band, UINT format) {
    if (!templateText[0]) return;
    char text[EXPANDED_TEMPLATE_SIZE];
    expandTemplate(templateText, text, sizeof text);
    wchar_t wide[EXPANDED_TEMPLATE_SIZE];
    DrawTextW(dc, wide, widen(text, wide, EXPANDED_TEMPLATE_SIZE), band, format);
}

}  // namespace

int drawHeaderFooter(HDC dc, const PageMetrics* m, int32_t pageNumber, int32_t pageCount) {
    setPageNumberTexts(pageNumber, pageCount);
    // The text area widened by two lines up and down: header and footer sit in the margins.
    RECT band = {m->textRect.left, m->textRect.top - 2 * m->lineHeight, m->textRect.right,
                 m->textRect.bottom + 2 * m->lineHeight};
    SetTextCharacterExtra(dc, 0);
    const HeaderFooterSettings& s = headerFooterSettings;
    const UINT line = DT_NOPREFIX | DT_SINGLELINE;
    if (s.printHeader) {
        drawTemplate(dc, s.headerLeft, &band, line);
        drawTemplate(dc, s.headerCenter, &band, line | DT_CENTER);
        drawTemplate(dc, s.headerRight, &band, line | DT_RIGHT);
    }
    if (s.printFooter) {
        drawTemplate(dc, s.footerLeft, &band, line | DT_BOTTOM);
        drawTemplate(dc, s.footerCenter, &band, line | DT_BOTTOM | DT_CENTER);
        drawTemplate(dc, s.footerRight, &band, line | DT_BOTTOM | DT_RIGHT);
    }
    return 1;
}

int drawLineNumber(HDC dc, const PageMetrics* m, int32_t y, int32_t lineNumber) {
    if (!headerFooterSettings.printLineNumber) return 1;
    char number[16];
    formatLineNumber(lineNumber, number, sizeof number);
    SetTextCharacterExtra(dc, 0);
    // Nine cells that end one cell before the text area.
    TextOutA(dc, m->textRect.left - 10 * m->charWidth, y, number, 9);
    return 1;
}
