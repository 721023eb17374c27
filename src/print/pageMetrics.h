// Sheet, printable area, text area and font cell of the printer and of the
// preview, and the printer selection they are measured from.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

struct PageMetrics {
    int32_t paperWidth;
    int32_t paperHeight;
    RECT printableRect;
    RECT textRect;
    LOGFONTA logFont;
    HFONT font;
    int32_t charWidth;
    int32_t lineHeight;
};

extern PageMetrics screenMetrics;
extern PageMetrics printerMetrics;
extern int32_t pointSize;     // tenths of a point
extern int32_t previewScale;  // percent
extern PAGESETUPDLGA pageSetup;  // ptPaperSize and rtMargin in hundredths of a millimetre
extern HGLOBAL printerDevMode;
extern HGLOBAL printerDevNames;
extern PRINTDLGA printDialog;
extern int16_t savedOrientation;
// The preview window's pixels per inch; 0 until it is known, and then the
// display's are taken.
extern int32_t screenDpi;
extern CHOOSEFONTW fontDialog;  // on a Unicode copy of the description (deviceFont)

HDC createPrinterDC();
int computePageMetrics(HDC printerDC);
void toScreenPixels(HDC displayDC, POINT* points, int count);
// The pixels per inch a device's font is made for: the preview's for the screen.
int32_t fontPixelsPerInch(HDC dc, const PageMetrics* metrics);
