// The page renderer's real GDI output, recorded on an enhanced metafile: each
// character at its cell (plain, spread and squeezed grids), tabs, hanging
// punctuation, line numbers, header and footer, page ends, and one page
// printed by the PDF printer's driver into a PostScript file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/allocation.h"
#include "document/documentNames.h"
#include "document/documentReader.h"
#include "document/lineList.h"
#include "emfRecorder.h"
#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "layout/pageRenderer.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"
#include "print/deviceFont.h"
#include "print/pageMetrics.h"
#include "memoryDocument.h"
#include "pdfOutput.h"
#include "printerFixture.h"

namespace {

// Makes the bytes the document, broken at `columns` and cut into pages of `rows`.
void useDocument(const std::string& bytes, int32_t columns, int32_t rows) {
    TextSource text{bytes};
    BlockSource source{&TextSource::read, &text};
    ASSERT_EQ(readLines(&source), 1);
    breakAllLines(columns);
    paginate(rows);
}

LineNode* lineAt(int index) {
    LineNode* line = head;
    while (line && index-- > 0) line = line->next;
    return line;
}

// Single-byte characters one per cell of `width` pixels from x.
std::vector<std::string> plainRow(int x, int y, int width, const char* text) {
    std::vector<std::string> cells;
    for (int i = 0; text[i]; ++i)
        cells.push_back(std::to_string(x + i * width) + "," + std::to_string(y) + ":" + text[i]);
    return cells;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class RendererFixture : public testing::Test {
protected:
    void SetUp() override {
        font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           "ＭＳ ゴシック");
        ASSERT_NE(font, nullptr);
        // 8 columns of 10 pixels and 4 rows of 20 in an area 5 and 10 pixels
        // larger: within one cell, so the grid is drawn as it is.
        setArea(RECT{120, 60, 205, 150}, 10, 20);
    }
    void TearDown() override {
        clearLineList();
        releasePages();
        pageCount = 0;
        headerFooterSettings = HeaderFooterSettings{};
        layoutSettings.kinsoku = 0;
        layoutSettings.wordWrap = 0;
        layoutSettings.tabCount = 4;
        documentTitle[0] = documentPath[0] = dateText[0] = timeText[0] = '\0';
        DeleteObject(font);
    }
    void setArea(RECT text, int32_t charWidth, int32_t lineHeight) {
        metrics = PageMetrics{};
        metrics.textRect = text;
        metrics.font = font;
        metrics.charWidth = charWidth;
        metrics.lineHeight = lineHeight;
    }
    std::vector<DrawnText> record(int32_t pageIndex, int32_t columns, int32_t rows) {
        EmfRecorder recorder;
        EXPECT_EQ(renderPage(recorder.dc(), &metrics, pageIndex, columns, rows), 1);
        return recorder.finish();
    }
    std::vector<std::string> render(int32_t pageIndex, int32_t columns, int32_t rows) {
        return describe(record(pageIndex, columns, rows));
    }

    HFONT font = nullptr;
    PageMetrics metrics = {};
};

using PageRendererCells = RendererFixture;
using PageRendererStretch = RendererFixture;
using PageRendererLineNumbers = RendererFixture;
using PageRendererPages = RendererFixture;

TEST_F(PageRendererCells, EveryCharacterAtItsOwnCell) {
    useDocument("ab漢c\nｱ字\nabcdefghij", 8, 4);
    EXPECT_EQ(render(0, 8, 4),
              joined({{"120,60:a", "130,60:b", "140,60:漢", "160,60:c"},
                      {"120,80:ｱ", "130,80:字"},
                      plainRow(120, 100, 10, "abcdefgh"),
                      {"120,120:i", "130,120:j"}}));
}

TEST_F(PageRendererCells, TabsJumpToTheRowsNextStopAndLeaveNoMark) {
    layoutSettings.tabCount = 3;
    // The second line's tab does not fit after h and opens a row of its own,
    // where stops count from the row's start again.
    useDocument("a\tb\tc\nabcdefgh\tx", 8, 4);
    EXPECT_EQ(render(0, 8, 4), joined({{"120,60:a", "150,60:b", "180,60:c"},
                                       plainRow(120, 80, 10, "abcdefgh"),
                                       {"150,100:x"}}));
}

TEST_F(PageRendererCells, HangingPunctuationIsDrawnPastTheRightEdge) {
    setArea(RECT{120, 60, 200, 140}, 10, 20);  // exactly 8 x 4 cells
    layoutSettings.kinsoku = 1;
    layoutSettings.tabCount = 3;
    // The tab after g would reach column 9 but is held at the margin (8).
    useDocument("あいうえ。お\nabcdefg\t。", 8, 4);
    std::vector<DrawnText> drawn = record(0, 8, 4);
    EXPECT_EQ(describe(drawn),
              joined({{"120,60:あ", "140,60:い", "160,60:う", "180,60:え", "200,60:。"},
                      {"120,80:お"},
                      plainRow(120, 100, 10, "abcdefg"),
                      {"200,100:。"}}));
    ASSERT_EQ(drawn.size(), 14u);
    EXPECT_GE(drawn[4].at.x, metrics.textRect.right);
}

TEST_F(PageRendererCells, ALineWithoutRowTableDrawsItsWholeTextOnEachRow) {
    useDocument("abcdefghij\nxy", 8, 4);
    // What an allocation failure during breaking leaves: counts kept, no table.
    releaseBytes(head->rows);
    head->rows = nullptr;
    EXPECT_EQ(render(0, 8, 4),
              joined({plainRow(120, 60, 10, "abcdefghij"), plainRow(120, 80, 10, "abcdefghij"),
                      plainRow(120, 100, 10, "xy")}));
}

TEST_F(PageRendererCells, DrawRowStopsAtTheTerminatorAndFallsBackPastTheRowTable) {
    char text[] = "ab";
    LineNode bare = {};
    bare.text = text;
    bare.length = 2;
    bare.charCount = 5;  // more than the text holds
    bare.rowCount = 1;
    useDocument("abcdefghij", 8, 4);
    EmfRecorder recorder;
    drawRow(recorder.dc(), 7, 9, &bare, 0, 10, 40, 45);
    // Row 2 of a line of two rows: not in the table, so the whole line.
    drawRow(recorder.dc(), 0, 30, head, 2, 10, 100, 100);
    // 4 cells of 10 spread over 60 pixels: 1.5 pixels per grid pixel.
    drawRow(recorder.dc(), 5, 50, head, 0, 10, 40, 60);
    EXPECT_EQ(describe(recorder.finish()),
              joined({{"7,9:a", "17,9:b"},
                      plainRow(0, 30, 10, "abcdefghij"),
                      plainRow(5, 50, 15, "abcdefgh")}));
}

TEST_F(PageRendererStretch, CellsFillOrSpreadOverTheTextArea) {
    struct Case {
        const char* name;
        LONG width, height;     // text area for a grid of 80 x 80
        int xs[8];              // pixel offset of each column of the first row
        int ys[4];              // pixel offset of each row
    };
    const Case cases[] = {
        {"grid fills the area", 80, 80, {0, 10, 20, 30, 40, 50, 60, 70}, {0, 20, 40, 60}},
        {"one cell to spare", 90, 100, {0, 10, 20, 30, 40, 50, 60, 70}, {0, 20, 40, 60}},
        // x * 91 / 80 and y * 101 / 80, each rounded down
        {"a pixel more than a cell", 91, 101, {0, 11, 22, 34, 45, 56, 68, 79}, {0, 25, 50, 75}},
        // x * 79 / 80 and y * 79 / 80
        {"a pixel too small", 79, 79, {0, 9, 19, 29, 39, 49, 59, 69}, {0, 19, 39, 59}},
        {"one and a half times", 120, 120, {0, 15, 30, 45, 60, 75, 90, 105}, {0, 30, 60, 90}},
        {"spread downwards only", 85, 120, {0, 10, 20, 30, 40, 50, 60, 70}, {0, 30, 60, 90}},
    };
    useDocument("abcdefgh\nb\nc\nd", 8, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setArea(RECT{120, 60, 120 + c.width, 60 + c.height}, 10, 20);
        std::vector<std::string> expected;
        for (int i = 0; i < 8; ++i)
            expected.push_back(std::to_string(120 + c.xs[i]) + ",60:" + char('a' + i));
        for (int k = 1; k < 4; ++k)
            expected.push_back("120," + std::to_string(60 + c.ys[k]) + ":" + char('a' + k));
        EXPECT_EQ(render(0, 8, 4), expected);
    }
}

TEST_F(PageRendererStretch, OddCellsSpreadOneAndAHalfTimesWithLineNumbers) {
    // 20 x 5 cells of 7 x 13 (140 x 65) over 210 x 97 pixels.
    setArea(RECT{100, 50, 310, 147}, 7, 13);
    headerFooterSettings.printLineNumber = 1;
    useDocument("ab\tc漢\nxyz\nq\nr\ns", 20, 5);
    // Columns 0 1 4 5 -> 0, 10.5, 42, 52.5; rows 0..4 -> 0, 19.4, 38.8, 58.2, 77.6.
    // Numbers stay ten cells left of the area (100 - 70) at the spread row tops.
    EXPECT_EQ(render(0, 20, 5),
              (std::vector<std::string>{
                  "30,50:        1", "100,50:a", "110,50:b", "142,50:c", "152,50:漢",
                  "30,69:        2", "100,69:x", "110,69:y", "121,69:z",
                  "30,88:        3", "100,88:q",
                  "30,108:        4", "100,108:r",
                  "30,127:        5", "100,127:s"}));
}

TEST_F(PageRendererStretch, FourColumnsSqueezedIntoLessThanFourCells) {
    // 4 x 3 cells of 10 x 20 (40 x 60) in 30 x 50 pixels.
    setArea(RECT{120, 60, 150, 110}, 10, 20);
    layoutSettings.tabCount = 2;
    useDocument("abcd\nあい\na\tb", 4, 3);
    // Columns 0 1 2 3 -> 0, 7.5, 15, 22.5; rows 0 1 2 -> 0, 16.7, 33.3.
    EXPECT_EQ(render(0, 4, 3),
              (std::vector<std::string>{"120,60:a", "127,60:b", "135,60:c", "142,60:d",
                                        "120,76:あ", "135,76:い", "120,93:a", "135,93:b"}));
}

TEST_F(PageRendererLineNumbers, OnlyBeforeTheFirstRowOfALineOnItsPage) {
    setArea(RECT{120, 60, 205, 105}, 10, 20);  // two rows and 5 pixels
    headerFooterSettings.printLineNumber = 1;
    // 18 characters make rows of 8, 8 and 2; pages of two rows start at
    // (line 1, row 1), (line 1, row 3) and (line 3, row 1).
    useDocument("abcdefghijklmnopqr\nxy\nz", 8, 2);
    ASSERT_EQ(pageCount, 3);
    lineAt(1)->lineNumber = 12;
    lineAt(2)->lineNumber = 1234567890;  // ten digits: only nine bytes are drawn

    // Ten cells left of the text area: 120 - 100.
    EXPECT_EQ(render(0, 8, 2), joined({{"20,60:        1"}, plainRow(120, 60, 10, "abcdefgh"),
                                       plainRow(120, 80, 10, "ijklmnop")}));
    EXPECT_EQ(render(1, 8, 2),
              (std::vector<std::string>{"120,60:q", "130,60:r", "20,80:       12", "120,80:x",
                                        "130,80:y"}));
    EXPECT_EQ(render(2, 8, 2), (std::vector<std::string>{"20,60:123456789", "120,60:z"}));

    headerFooterSettings.printLineNumber = 0;
    EXPECT_EQ(render(2, 8, 2), (std::vector<std::string>{"120,60:z"}));
}

TEST_F(PageRendererPages, APageEndsAfterItsRowsOrAtTheDocumentsEnd) {
    useDocument("a\n\nb\nc\nd\ne", 8, 4);
    ASSERT_EQ(pageCount, 2);
    // The empty line keeps its row.
    EXPECT_EQ(render(0, 8, 4), (std::vector<std::string>{"120,60:a", "120,100:b", "120,120:c"}));
    EXPECT_EQ(render(1, 8, 4), (std::vector<std::string>{"120,60:d", "120,80:e"}));
}

TEST_F(PageRendererPages, AFormFeedEndsItsPageEarly) {
    setArea(RECT{120, 60, 205, 170}, 10, 20);  // five rows and 10 pixels
    // The form feed's line ends inside the second page, which stops after it.
    useDocument("a\fbcdefghijk\fl\nm", 8, 5);
    ASSERT_EQ(pageCount, 3);
    EXPECT_EQ(render(0, 8, 5), (std::vector<std::string>{"120,60:a"}));
    EXPECT_EQ(render(1, 8, 5),
              joined({plainRow(120, 60, 10, "bcdefghi"), plainRow(120, 80, 10, "jk")}));
    EXPECT_EQ(render(2, 8, 5), (std::vector<std::string>{"120,60:l", "120,80:m"}));
}

TEST_F(PageRendererPages, LeavesTheDcsFontAndDrawsTransparentlyInTheMetricsFont) {
    headerFooterSettings.printHeader = 1;
    headerFooterSettings.printLineNumber = 1;
    strcpy(headerFooterSettings.headerLeft, "&P");
    useDocument("ab漢", 8, 4);
    HFONT large = CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, "Courier New");
    EmfRecorder recorder;
    SelectObject(recorder.dc(), large);
    SetBkMode(recorder.dc(), OPAQUE);
    renderPage(recorder.dc(), &metrics, 0, 8, 4);
    EXPECT_EQ(GetCurrentObject(recorder.dc(), OBJ_FONT), large);
    EXPECT_EQ(GetBkMode(recorder.dc()), TRANSPARENT);
    std::vector<DrawnText> drawn = recorder.finish();
    DeleteObject(large);

    ASSERT_EQ(drawn.size(), 5u);  // number, a, b, 漢, header
    for (const DrawnText& text : drawn) {
        SCOPED_TRACE(text.text);
        EXPECT_EQ(text.fontHeight, -13);
        EXPECT_EQ(text.backgroundMode, TRANSPARENT);
    }
}

class PageRendererHeaderFooter : public RendererFixture {
protected:
    void SetUp() override {
        RendererFixture::SetUp();
        // The band runs from 60 to 340: two line heights beyond the area.
        setArea(RECT{100, 100, 500, 300}, 10, 20);
        strcpy(documentTitle, "memo.txt");
        strcpy(dateText, "2005/3/7");
        HDC screen = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, font);
        TEXTMETRICA tm;
        GetTextMetricsA(screen, &tm);
        textHeight = tm.tmHeight;
        for (const char* text : {"Page 2 of 3", "2005/3/7 &", "&P", "3 pages"}) {
            SIZE size;
            GetTextExtentPoint32A(screen, text, int(strlen(text)), &size);
            widths.push_back(size.cx);
        }
        SelectObject(screen, previous);
        DeleteDC(screen);
    }
    std::vector<LONG> widths;
    LONG textHeight = 0;
};

TEST_F(PageRendererHeaderFooter, CodesExpandedAndAlignedInTheBand) {
    HeaderFooterSettings& s = headerFooterSettings;
    s.printHeader = s.printFooter = 1;
    strcpy(s.headerLeft, "&F");
    strcpy(s.headerCenter, "Page &P of &A");
    strcpy(s.headerRight, "&D &&");
    strcpy(s.footerLeft, "p&P");
    strcpy(s.footerCenter, "&&P");
    strcpy(s.footerRight, "&A pages");
    useDocument("a\fb\fc", 40, 10);
    ASSERT_EQ(pageCount, 3);

    auto at = [](LONG x, LONG y, const char* text) {
        return std::to_string(x) + "," + std::to_string(y) + ":" + text;
    };
    const LONG footerTop = 340 - textHeight;
    EXPECT_EQ(render(1, 40, 10),
              (std::vector<std::string>{
                  "100,100:b",
                  at(100, 60, "memo.txt"),
                  at((100 + 500 - widths[0]) / 2, 60, "Page 2 of 3"),
                  at(500 - widths[1], 60, "2005/3/7 &"),
                  at(100, footerTop, "p2"),
                  at((100 + 500 - widths[2]) / 2, footerTop, "&P"),
                  at(500 - widths[3], footerTop, "3 pages"),
              }));
}

TEST_F(PageRendererHeaderFooter, SwitchesAndEmptyTemplatesDecideWhatIsDrawn) {
    HeaderFooterSettings& s = headerFooterSettings;
    useDocument("a\fb\fc", 40, 10);
    s.printHeader = s.printFooter = 1;  // every template empty
    EXPECT_EQ(render(1, 40, 10), (std::vector<std::string>{"100,100:b"}));

    s.printHeader = s.printFooter = 0;
    strcpy(s.headerLeft, "H");
    strcpy(s.footerLeft, "F");
    EXPECT_EQ(render(1, 40, 10), (std::vector<std::string>{"100,100:b"}));

    s.printHeader = 1;
    EXPECT_EQ(render(1, 40, 10), (std::vector<std::string>{"100,100:b", "100,60:H"}));
}

TEST_F(PageRendererHeaderFooter, PagesOutsideTheDocumentShowOnlyTheHeader) {
    headerFooterSettings.printHeader = 1;
    strcpy(headerFooterSettings.headerLeft, "&P/&A");
    useDocument("a\fb\fc", 40, 10);
    EXPECT_EQ(render(5, 40, 10), (std::vector<std::string>{"100,60:6/3"}));
    EXPECT_EQ(render(-1, 40, 10), (std::vector<std::string>{"100,60:0/3"}));

    // Pagination that ran out of memory: a count without a table.
    PageStart* table = pages;
    pages = nullptr;
    std::vector<std::string> withoutTable = render(0, 40, 10);
    pages = table;
    EXPECT_EQ(withoutTable, (std::vector<std::string>{"100,60:1/3"}));

    clearLineList();
    releasePages();
    pageCount = 0;
    EXPECT_EQ(render(0, 40, 10), (std::vector<std::string>{"100,60:1/1"}));
}

// The PDF printer's driver, told to write into a file, produces PostScript
// without going through the CUPS queue; Ghostscript and poppler read the
// page back, and its lines must be the document's rows.
TEST(PageRendererOnPdf, PrintsTheFirstPageToAPostScriptFile) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
    ASSERT_EQ(computePageMetrics(nullptr), 1);
    HDC printer = createPrinterDC();
    ASSERT_NE(printer, nullptr);
    setDefaultFontDescription(&printerMetrics.logFont);
    pointSize = 100;
    ASSERT_EQ(createDeviceFont(printer, &printerMetrics), 1);

    std::string longLine;
    for (int i = 0; i < 12; ++i) longLine += "0123456789";
    useDocument("pemoPrint 印刷テスト\r\na\tb\tc\t漢字\r\n" + longLine +
                    "\r\nｱｲｳｴｵ 半角カナ\r\n\r\n最後の行。",
                1000, 1000);
    columnsPerRow = rowsPerPage = 0;  // so that the grid re-breaks and re-paginates
    updatePageGrid(&printerMetrics);
    // The 120 digits take exactly two rows; everything fits on one page.
    ASSERT_GE(columnsPerRow, 60);
    ASSERT_LT(columnsPerRow, 120);
    ASSERT_EQ(pageCount, 1);

    // The printer's own grid fits its text area: plain cells.
    const RECT& area = printerMetrics.textRect;
    const int32_t cw = printerMetrics.charWidth, lh = printerMetrics.lineHeight;
    {
        EmfRecorder recorder(printer);
        renderPage(recorder.dc(), &printerMetrics, 0, columnsPerRow, rowsPerPage);
        std::vector<std::string> drawn = describe(recorder.finish());
        auto at = [&](int column, int row, const char* text) {
            return std::to_string(area.left + column * cw) + "," +
                   std::to_string(area.top + row * lh) + ":" + text;
        };
        std::vector<std::string> firstRow(drawn.begin(), drawn.begin() + std::min<size_t>(15, drawn.size()));
        EXPECT_EQ(firstRow, (std::vector<std::string>{
                                at(0, 0, "p"), at(1, 0, "e"), at(2, 0, "m"), at(3, 0, "o"),
                                at(4, 0, "P"), at(5, 0, "r"), at(6, 0, "i"), at(7, 0, "n"),
                                at(8, 0, "t"), at(9, 0, " "), at(10, 0, "印"), at(12, 0, "刷"),
                                at(14, 0, "テ"), at(16, 0, "ス"), at(18, 0, "ト")}));
        // The last line is on row 7, after the two rows of digits and the empty line.
        ASSERT_GE(drawn.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(drawn.end() - 5, drawn.end()),
                  (std::vector<std::string>{at(0, 6, "最"), at(2, 6, "後"), at(4, 6, "の"),
                                            at(6, 6, "行"), at(8, 6, "。")}));
    }

    // Z: is Wine's view of the root; the files go to build/results.
    std::string results = PEMO_SAMPLES_DIR;
    results.erase(results.rfind("/tests/samples"));
    results += "/build/results";
    CreateDirectoryA(results.c_str(), nullptr);
    const std::string page = results + "/renderer-page.ps";
    DeleteFileA(page.c_str());

    DOCINFOA job = {sizeof job, "pemoPrint renderer test", page.c_str(), nullptr, 0};
    EXPECT_GT(StartDocA(printer, &job), 0);
    EXPECT_GT(StartPage(printer), 0);
    EXPECT_EQ(renderPage(printer, &printerMetrics, 0, columnsPerRow, rowsPerPage), 1);
    EXPECT_GT(EndPage(printer), 0);
    EXPECT_GT(EndDoc(printer), 0);
    DeleteDC(printer);

    WIN32_FILE_ATTRIBUTE_DATA file = {};
    ASSERT_TRUE(GetFileAttributesExA(page.c_str(), GetFileExInfoStandard, &file)) << page;
    EXPECT_GT(file.nFileSizeLow, 0u);

    // Every row of the (only) page against the page's text lines, white
    // space aside (tab stops come back as spaces, empty rows as nothing).
    auto withoutSpaces = [](const std::string& text) {
        std::string kept;
        for (char c : text) {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\f') kept += c;
        }
        return kept;
    };
    std::vector<std::string> rows;
    for (LineNode* line = head; line; line = line->next) {
        for (int32_t k = 0; k < line->rowCount; ++k) {
            const char* end = k + 1 < line->rowCount ? line->rows[k + 1].start
                                                     : line->text + line->length;
            std::string row = withoutSpaces(std::string(line->rows[k].start, size_t(end - line->rows[k].start)));
            if (!row.empty()) rows.push_back(row);
        }
    }
    std::string unixPage = page.substr(2);  // without "Z:"
    std::string text;
    ASSERT_EQ(runUnixCommand("ps2pdf '" + unixPage + "' '" + unixPage + ".pdf' && pdftotext -layout '" +
                                 unixPage + ".pdf' -",
                             &text),
              0)
        << text;
    std::vector<std::string> printed;
    size_t start = 0;
    for (std::string lines = utf8ToCp932(text); start < lines.size();) {
        size_t end = lines.find('\n', start);
        if (end == std::string::npos) end = lines.size();
        std::string line = withoutSpaces(lines.substr(start, end - start));
        if (!line.empty()) printed.push_back(line);
        start = end + 1;
    }
    EXPECT_EQ(printed, rows);

    clearLineList();
    releasePages();
    pageCount = 0;
    columnsPerRow = rowsPerPage = 0;
    DeleteObject(printerMetrics.font);
    printerMetrics.font = nullptr;
    releasePrinter();
}

}  // namespace
