// The print job on the real CUPS PDF printer: page order with copies and
// collation, page ranges, header page numbers, the progress dialog and its
// cancel, a job that cannot start, and the time a long job takes. The PDFs
// are read back with poppler, page by page.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "app/appInstance.h"
#include "document/documentNames.h"
#include "document/documentReader.h"
#include "document/lineList.h"
#include "layout/headerFooter.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"
#include "pdfOutput.h"
#include "print/deviceFont.h"
#include "print/pageMetrics.h"
#include "print/printJob.h"
#include "memoryDocument.h"
#include "printerFixture.h"

namespace {

// count pages separated by form feeds, each showing "PAGE-n" and a
// Japanese line, so that every sheet of the PDF says which page it is.
std::string markedPages(int count) {
    std::string text;
    for (int page = 1; page <= count; ++page) {
        if (page > 1) text += "\f";
        text += "PAGE-" + std::to_string(page) + "\r\n印刷テスト";
    }
    return text;
}

// The page marker of every sheet in the job's PDF; 0 for a sheet without one
// and -1 for a sheet with several.
std::vector<int> markersOfSheets(const std::vector<std::string>& sheets) {
    std::vector<int> markers;
    for (const std::string& sheet : sheets) {
        std::vector<int> found = numbersAfter(sheet, "PAGE-");
        markers.push_back(found.empty() ? 0 : found.size() > 1 ? -1 : found[0]);
    }
    return markers;
}

// Posted to the owner when the progress dialog comes up: the owner sees it
// only if the job dispatches the thread's messages.
const UINT WM_PROBE = WM_APP + 1;

// The job as the owner window saw it from inside.
struct Probe {
    bool seen;
    bool ownerEnabled;
    bool dialogUp;
    bool closeBoxGreyed;
    int32_t cancelled;
};

// An owner window that counts how often it was disabled and enabled.
struct OwnerWindow {
    HWND window = nullptr;
    static int disabledCount;
    static int enabledCount;
    static Probe probe;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ENABLE) ++(wParam ? enabledCount : disabledCount);
        if (message == WM_PROBE) {
            HWND dialog = progressDialog;
            UINT close = dialog ? GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE,
                                               MF_BYCOMMAND)
                                : UINT(-1);
            probe = Probe{true, IsWindowEnabled(window) != 0,
                          dialog && IsWindowVisible(dialog) != 0,
                          close != UINT(-1) && (close & MF_GRAYED) != 0, printCancelled};
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    OwnerWindow() {
        static ATOM registered = 0;
        if (!registered) {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = procedure;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "PemoPrintJobTestOwner";
            registered = RegisterClassA(&windowClass);
        }
        disabledCount = enabledCount = 0;
        probe = Probe{};
        window = CreateWindowExA(0, "PemoPrintJobTestOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0,
                                 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~OwnerWindow() { DestroyWindow(window); }
};
int OwnerWindow::disabledCount = 0;
int OwnerWindow::enabledCount = 0;
Probe OwnerWindow::probe = {};

// What the user does to the progress dialog as soon as it is up. The input
// is queued, as real input is, and reaches the dialog when the job next
// dispatches messages.
enum class UserInput { nothing, cancelButton, enterKey, escapeKey, closeBox };

// Watches the dialogs of a job: answers message boxes, probes the owner and
// gives the progress dialog its input when it comes up.
struct JobWatcher {
    struct Seen {
        std::string caption;
        std::string text;
        bool isMessageBox;  // it has a message box's text control
        int ownerDisablesBefore;
        int ownerEnablesBefore;
    };
    std::vector<Seen> seen;
    HWND owner = nullptr;
    UserInput input;
    HHOOK hook = nullptr;
    static JobWatcher* active;

    explicit JobWatcher(HWND ownerWindow, UserInput userInput = UserInput::nothing)
        : owner(ownerWindow), input(userInput) {
        active = this;
        hook = SetWindowsHookExA(WH_CBT, onCbt, nullptr, GetCurrentThreadId());
    }
    ~JobWatcher() {
        UnhookWindowsHookEx(hook);
        active = nullptr;
    }
    static std::string textOf(HWND window) {
        char text[256] = "";
        if (window) GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static LRESULT CALLBACK onCbt(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && active) {
            HWND window = reinterpret_cast<HWND>(wParam);
            char className[64] = "";
            GetClassNameA(window, className, sizeof className);
            if (!lstrcmpA(className, "#32770")) active->onDialog(window);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    void onDialog(HWND window) {
        HWND messageText = GetDlgItem(window, 0xFFFF);
        seen.push_back({textOf(window), textOf(messageText), messageText != nullptr,
                        OwnerWindow::disabledCount, OwnerWindow::enabledCount});
        if (messageText) {
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            return;
        }
        if (owner) PostMessageA(owner, WM_PROBE, 0, 0);
        HWND button = GetDlgItem(window, IDCANCEL);
        switch (input) {
        case UserInput::nothing: break;
        case UserInput::cancelButton: PostMessageA(button, BM_CLICK, 0, 0); break;
        case UserInput::enterKey: PostMessageA(button, WM_KEYDOWN, VK_RETURN, 0x001C0001); break;
        case UserInput::escapeKey: PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0x00010001); break;
        case UserInput::closeBox: {
            // A click on the caption's close box, pressed and released.
            RECT frame;
            GetWindowRect(window, &frame);
            int x = frame.right - GetSystemMetrics(SM_CXSIZE) / 2 - GetSystemMetrics(SM_CXFRAME);
            int y = frame.top + GetSystemMetrics(SM_CYSIZE) / 2 + GetSystemMetrics(SM_CYFRAME);
            PostMessageA(window, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(x, y));
            POINT client = {x, y};
            ScreenToClient(window, &client);
            PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
            break;
        }
        }
    }
    int messageBoxes() const {
        return int(std::count_if(seen.begin(), seen.end(),
                                 [](const Seen& s) { return s.isMessageBox; }));
    }
};
JobWatcher* JobWatcher::active = nullptr;

// The job on a fresh printer DC, as the batch printer starts it.
int print(HWND owner) {
    HDC printer = createPrinterDC();
    EXPECT_NE(printer, nullptr);
    int result = printDocument(owner, printer, &printerMetrics);
    DeleteDC(printer);
    return result;
}

class PrintJob : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
        printDialog = PRINTDLGA{};
        printDialog.lStructSize = sizeof printDialog;
        printDialog.hDevMode = printerDevMode;
        printDialog.hDevNames = printerDevNames;
        printDialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
        printDialog.nFromPage = printDialog.nToPage = 1;
        printDialog.nMinPage = printDialog.nMaxPage = 1;
        printDialog.nCopies = 1;

        setDefaultFontDescription(&screenMetrics.logFont);
        printerMetrics.logFont = screenMetrics.logFont;
        pointSize = 100;
        ASSERT_EQ(computePageMetrics(nullptr), 1);
        HDC printer = createPrinterDC();
        ASSERT_NE(printer, nullptr);
        ASSERT_EQ(createDeviceFont(printer, &printerMetrics), 1);
        DeleteDC(printer);
        columnsPerRow = rowsPerPage = 0;
        ASSERT_EQ(updatePageGrid(&printerMetrics), 1);
        ASSERT_GT(rowsPerPage, 2);
        headerFooterSettings = HeaderFooterSettings{};
        printCancelled = 0;
        progressDialog = nullptr;
    }
    void TearDown() override {
        clearLineList();
        releasePages();
        pageCount = 0;
        columnsPerRow = rowsPerPage = 0;
        headerFooterSettings = HeaderFooterSettings{};
        documentTitle[0] = documentPath[0] = dateText[0] = timeText[0] = '\0';
        if (printerMetrics.font) DeleteObject(printerMetrics.font);
        printerMetrics.font = nullptr;
        printDialog = PRINTDLGA{};
        releasePrinter();
    }

    // Loads the bytes as the document under this job name; clears the PDFs
    // an earlier run left.
    void useDocument(const std::string& bytes, const char* jobName) {
        TextSource text{bytes};
        BlockSource source{&TextSource::read, &text};
        ASSERT_EQ(readLines(&source), 1);
        breakAllLines(columnsPerRow);
        paginate(rowsPerPage);
        lstrcpynA(documentTitle, jobName, sizeof documentTitle);
        ASSERT_TRUE(waitForJobGone(jobName));
        ASSERT_TRUE(clearJobPdf(jobName));
    }
    void useRange(WORD from, WORD to, WORD copies, DWORD extraFlags) {
        printDialog.Flags |= extraFlags;
        printDialog.nFromPage = from;
        printDialog.nToPage = to;
        printDialog.nCopies = copies;
    }
    // Prints and gives the page marker of every sheet of the finished PDF.
    std::vector<int> printedMarkers(HWND owner = nullptr) {
        JobWatcher watcher(owner);
        EXPECT_EQ(print(owner), 1);
        EXPECT_EQ(watcher.messageBoxes(), 0);
        int sheets = waitForJobPdf(documentTitle);
        EXPECT_GE(sheets, 0) << "no PDF for " << documentTitle;
        std::vector<std::string> texts = pdfPageTexts(documentTitle);
        EXPECT_EQ(int(texts.size()), sheets) << "pdftotext and pdfinfo disagree";
        return markersOfSheets(texts);
    }
};

using PrintJobOrder = PrintJob;
using PrintJobRange = PrintJob;
using PrintJobHeader = PrintJob;
using PrintJobProgress = PrintJob;
using PrintJobCancel = PrintJob;
using PrintJobFailure = PrintJob;
using PrintJobTiming = PrintJob;

TEST_F(PrintJobOrder, CollatedCopiesRepeatTheWholeRange) {
    useDocument(markedPages(4), "pemo-job-collated");
    ASSERT_EQ(pageCount, 4);
    useRange(2, 3, 2, PD_PAGENUMS | PD_COLLATE);
    OwnerWindow owner;
    EXPECT_EQ(printedMarkers(owner.window), (std::vector<int>{2, 3, 2, 3}));
}

TEST_F(PrintJobOrder, UncollatedCopiesRepeatEachPageInARow) {
    useDocument(markedPages(4), "pemo-job-uncollated");
    useRange(2, 3, 2, PD_PAGENUMS);
    OwnerWindow owner;
    EXPECT_EQ(printedMarkers(owner.window), (std::vector<int>{2, 2, 3, 3}));
}

TEST_F(PrintJobOrder, WithoutPageNumbersEveryPageOnceStaleRangeIgnored) {
    useDocument(markedPages(3), "pemo-job-all-pages");
    // Flags are never reset, but without PD_PAGENUMS the numbers left in
    // the record do not count.
    useRange(2, 2, 1, 0);
    EXPECT_EQ(printedMarkers(), (std::vector<int>{1, 2, 3}));
}

TEST_F(PrintJobOrder, ThreeUncollatedCopiesOfOnePage) {
    useDocument(markedPages(2), "pemo-job-three-copies");
    useRange(1, 1, 3, PD_PAGENUMS);
    EXPECT_EQ(printedMarkers(), (std::vector<int>{1, 1, 1}));
}

TEST_F(PrintJobRange, ARangeBeyondTheDocumentPrintsItsLastPage) {
    useDocument(markedPages(4), "pemo-job-beyond");
    useRange(7, 9, 1, PD_PAGENUMS);
    EXPECT_EQ(printedMarkers(), (std::vector<int>{4}));
}

TEST_F(PrintJobRange, FromPageZeroStartsAtTheFirstPage) {
    useDocument(markedPages(3), "pemo-job-from-zero");
    useRange(0, 2, 1, PD_PAGENUMS);
    EXPECT_EQ(printedMarkers(), (std::vector<int>{1, 2}));
}

TEST_F(PrintJobRange, FirstAfterLastSendsNoPageButTheJobSucceeds) {
    const char job[] = "pemo-job-no-pages";
    useDocument(markedPages(4), job);
    useRange(4, 2, 2, PD_PAGENUMS | PD_COLLATE);
    OwnerWindow owner;
    JobWatcher watcher(owner.window);
    EXPECT_EQ(print(owner.window), 1);
    EXPECT_EQ(watcher.messageBoxes(), 0);
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    EXPECT_EQ(OwnerWindow::enabledCount, 1);
    // The job was started and ended with nothing in it. Ghostscript makes
    // one blank sheet of an empty document; nothing is printed on it.
    int sheets = waitForJobPdf(job);
    EXPECT_LE(sheets, 1);
    for (const std::string& sheet : pdfPageTexts(job))
        EXPECT_EQ(sheet.find_first_not_of(" \r\n"), std::string::npos) << sheet;
}

TEST_F(PrintJobHeader, PageNumberAndCountOnEverySheet) {
    const char job[] = "pemo-job-header";
    useDocument(markedPages(4), job);
    headerFooterSettings.printHeader = 1;
    lstrcpyA(headerFooterSettings.headerCenter, "&P/&A");
    lstrcpyA(headerFooterSettings.headerRight, "&D");
    dateText[0] = '\0';
    useRange(2, 4, 2, PD_PAGENUMS | PD_COLLATE);
    JobWatcher watcher(nullptr);
    ASSERT_EQ(print(nullptr), 1);
    // The job captured the date for &D.
    ASSERT_NE(dateText[0], '\0');
    ASSERT_EQ(waitForJobPdf(job), 6);
    std::vector<std::string> sheets = pdfPageTexts(job);
    ASSERT_EQ(sheets.size(), 6u);
    const std::regex pageOfCount("(\\d+)/(\\d+)");
    const int expected[] = {2, 3, 4, 2, 3, 4};
    for (size_t i = 0; i < sheets.size(); ++i) {
        SCOPED_TRACE("sheet " + std::to_string(i + 1) + ":\n" + sheets[i]);
        // The header is the sheet's first text; the date's slashes come after.
        std::smatch match;
        ASSERT_TRUE(std::regex_search(sheets[i], match, pageOfCount));
        // The page's own number and the document's page count, not the
        // position in the range or the number of sheets.
        EXPECT_EQ(std::stoi(match[1]), expected[i]);
        EXPECT_EQ(std::stoi(match[2]), 4);
        EXPECT_EQ(numbersAfter(sheets[i], "PAGE-"), std::vector<int>{expected[i]});
        EXPECT_NE(sheets[i].find(dateText), std::string::npos);
        EXPECT_NE(sheets[i].find("印刷テスト"), std::string::npos);
    }
}

TEST_F(PrintJobProgress, DialogResourceAndItsCancel) {
    OwnerWindow owner;
    EnableWindow(owner.window, FALSE);
    HWND dialog =
        CreateDialogA(appInstance, MAKEINTRESOURCEA(102), owner.window, progressDialogProc);
    ASSERT_NE(dialog, nullptr);
    progressDialog = dialog;
    EXPECT_EQ(JobWatcher::textOf(dialog), "印刷中");
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetParent(dialog), owner.window);
    // One control: the default Cancel button.
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(GetDlgCtrlID(controls[0]), IDCANCEL);
    EXPECT_EQ(JobWatcher::textOf(controls[0]), "キャンセル");
    EXPECT_EQ(GetWindowLongA(controls[0], GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    // The caption's close box is greyed.
    UINT state = GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND);
    ASSERT_NE(state, UINT(-1));
    EXPECT_TRUE(state & MF_GRAYED);

    // Any command cancels: the flag, the owner back, the dialog gone.
    printCancelled = 0;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(controls[0]));
    EXPECT_EQ(printCancelled, 1);
    EXPECT_EQ(progressDialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    printCancelled = 0;
}

TEST_F(PrintJobProgress, AbortProcedureDispatchesUntilCancelled) {
    OwnerWindow owner;
    // Queued messages of the thread reach their windows while a job runs.
    printCancelled = 0;
    progressDialog = nullptr;
    PostMessageA(owner.window, WM_PROBE, 0, 0);
    EXPECT_TRUE(printAbortProc(nullptr, 0));
    EXPECT_TRUE(OwnerWindow::probe.seen);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, owner.window, 0, 0, PM_NOREMOVE));

    // Esc in the progress dialog goes through the dialog manager and cancels.
    EnableWindow(owner.window, FALSE);
    progressDialog =
        CreateDialogA(appInstance, MAKEINTRESOURCEA(102), owner.window, progressDialogProc);
    ASSERT_NE(progressDialog, nullptr);
    HWND dialog = progressDialog;
    PostMessageA(GetDlgItem(dialog, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_FALSE(printAbortProc(nullptr, 0));
    EXPECT_EQ(printCancelled, 1);
    EXPECT_EQ(progressDialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner.window));

    // Once cancelled it takes no message and keeps saying stop.
    OwnerWindow::probe = Probe{};
    PostMessageA(owner.window, WM_PROBE, 0, 0);
    EXPECT_FALSE(printAbortProc(nullptr, 0));
    EXPECT_FALSE(OwnerWindow::probe.seen);
    EXPECT_TRUE(PeekMessageA(&left, owner.window, WM_PROBE, WM_PROBE, PM_REMOVE));
    printCancelled = 0;
}

TEST_F(PrintJobProgress, OwnerDisabledDuringTheJobAndEnabledOnceAfter) {
    const char job[] = "pemo-job-progress";
    useDocument(markedPages(40), job);
    OwnerWindow owner;
    JobWatcher watcher(owner.window);
    EXPECT_EQ(print(owner.window), 1);
    // The abort procedure dispatched the owner's queued message while the
    // job ran: the owner was disabled and the dialog up, its close box grey.
    const Probe& probe = OwnerWindow::probe;
    ASSERT_TRUE(probe.seen) << "no message was dispatched during the job";
    EXPECT_FALSE(probe.ownerEnabled);
    EXPECT_TRUE(probe.dialogUp);
    EXPECT_TRUE(probe.closeBoxGreyed);
    EXPECT_EQ(probe.cancelled, 0);

    ASSERT_EQ(watcher.seen.size(), 1u);
    EXPECT_FALSE(watcher.seen[0].isMessageBox);
    EXPECT_EQ(watcher.seen[0].caption, "印刷中");
    EXPECT_EQ(watcher.seen[0].ownerDisablesBefore, 1);
    EXPECT_EQ(watcher.seen[0].ownerEnablesBefore, 0);
    EXPECT_EQ(progressDialog, nullptr);
    EXPECT_FALSE(FindWindowA("#32770", "印刷中"));
    EXPECT_EQ(printCancelled, 0);
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    EXPECT_EQ(OwnerWindow::disabledCount, 1);
    EXPECT_EQ(OwnerWindow::enabledCount, 1);
    EXPECT_EQ(waitForJobPdf(job), 40);
}

TEST_F(PrintJobProgress, ClickOnTheGreyCloseBoxDoesNotCancel) {
    const char job[] = "pemo-job-close-box";
    useDocument(markedPages(3), job);
    OwnerWindow owner;
    JobWatcher watcher(owner.window, UserInput::closeBox);
    EXPECT_EQ(print(owner.window), 1);
    EXPECT_EQ(printCancelled, 0);
    EXPECT_EQ(watcher.messageBoxes(), 0);
    EXPECT_EQ(OwnerWindow::enabledCount, 1);
    EXPECT_EQ(waitForJobPdf(job), 3);
}

// The user cancels with the given input while the job runs, on a long
// document: the job returns 0 without a word and leaves nothing behind.
// Wine's GDI calls the abort procedure once, from StartDoc, so the input
// queued while the dialog comes up is what it dispatches; StartDoc then
// fails, and the job takes its failed-and-cancelled way out.
void expectCancelled(UserInput input, const char* job) {
    OwnerWindow owner;
    JobWatcher watcher(owner.window, input);
    EXPECT_EQ(print(owner.window), 0);
    EXPECT_EQ(printCancelled, 1);
    // The input went through the job's own dispatching, before any cancel.
    EXPECT_TRUE(OwnerWindow::probe.seen);
    EXPECT_FALSE(OwnerWindow::probe.ownerEnabled);
    EXPECT_EQ(OwnerWindow::probe.cancelled, 0);
    // Only the progress dialog: a cancel is not reported as an error.
    EXPECT_EQ(watcher.messageBoxes(), 0);
    ASSERT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(watcher.seen[0].caption, "印刷中");
    EXPECT_EQ(progressDialog, nullptr);
    EXPECT_FALSE(FindWindowA("#32770", "印刷中"));
    // Enabled once, by the dialog, before printDocument returned.
    EXPECT_TRUE(IsWindowEnabled(owner.window));
    EXPECT_EQ(OwnerWindow::disabledCount, 1);
    EXPECT_EQ(OwnerWindow::enabledCount, 1);
    // The job is abandoned: nothing reaches the printer.
    ASSERT_TRUE(waitForJobGone(job));
    Sleep(1000);
    EXPECT_FALSE(jobQueued(job));
    EXPECT_EQ(jobPdfPath(job), "") << "a cancelled job was printed";
}

TEST_F(PrintJobCancel, ByTheButton) {
    useDocument(markedPages(100), "pemo-job-cancel-button");
    expectCancelled(UserInput::cancelButton, documentTitle);
}

TEST_F(PrintJobCancel, ByEnter) {
    useDocument(markedPages(100), "pemo-job-cancel-enter");
    expectCancelled(UserInput::enterKey, documentTitle);
}

TEST_F(PrintJobCancel, ByEscape) {
    useDocument(markedPages(100), "pemo-job-cancel-escape");
    expectCancelled(UserInput::escapeKey, documentTitle);
}

// A device context that is no printer: StartDoc refuses it.
void expectFailureReported(HDC dc) {
    OwnerWindow owner;
    JobWatcher watcher(owner.window);
    EXPECT_EQ(printDocument(owner.window, dc, &printerMetrics), 0);
    EXPECT_EQ(printCancelled, 0);
    EXPECT_EQ(progressDialog, nullptr);
    EXPECT_FALSE(FindWindowA("#32770", "印刷中"));
    ASSERT_EQ(watcher.messageBoxes(), 1);
    const JobWatcher::Seen& box = watcher.seen.back();
    EXPECT_EQ(box.caption, "pemoPrint");
    EXPECT_EQ(box.text, "印刷できません。");
    // The job gave the owner back before the message (which then disables
    // and enables its owner itself).
    EXPECT_EQ(box.ownerEnablesBefore, 1);
    EXPECT_TRUE(IsWindowEnabled(owner.window));
}

TEST_F(PrintJobFailure, StartDocRefusedOnAMemoryDC) {
    useDocument(markedPages(2), "pemo-job-fail-memory");
    HDC memory = CreateCompatibleDC(nullptr);
    ASSERT_NE(memory, nullptr);
    expectFailureReported(memory);
    DeleteDC(memory);
}

TEST_F(PrintJobFailure, StartDocRefusedOnAMetafileDC) {
    useDocument(markedPages(2), "pemo-job-fail-metafile");
    HDC printer = createPrinterDC();
    HDC metafile = CreateEnhMetaFileA(printer, nullptr, nullptr, nullptr);
    ASSERT_NE(metafile, nullptr);
    expectFailureReported(metafile);
    DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
    DeleteDC(printer);
}

TEST_F(PrintJobTiming, HundredPagesUntilThePdfIsComplete) {
    const char job[] = "pemo-job-timing";
    // Full pages of mixed text, not just a marker.
    std::string page;
    for (int32_t row = 1; row < rowsPerPage; ++row)
        page += "\r\nabcdefghij 日本語の行 " + std::to_string(row);
    std::string text;
    for (int p = 1; p <= 100; ++p) {
        if (p > 1) text += "\f";
        text += "PAGE-" + std::to_string(p) + page;
    }
    useDocument(text, job);
    ASSERT_EQ(pageCount, 100);

    JobWatcher watcher(nullptr);
    HDC printer = createPrinterDC();
    ASSERT_NE(printer, nullptr);
    auto start = std::chrono::steady_clock::now();
    int result = printDocument(nullptr, printer, &printerMetrics);
    auto sent = std::chrono::steady_clock::now();
    DeleteDC(printer);
    ASSERT_EQ(result, 1);
    int sheets = waitForJobPdf(job, 300000);
    auto done = std::chrono::steady_clock::now();
    ASSERT_EQ(sheets, 100);
    EXPECT_EQ(watcher.messageBoxes(), 0);
    using ms = std::chrono::milliseconds;
    long long sendMs = std::chrono::duration_cast<ms>(sent - start).count();
    long long totalMs = std::chrono::duration_cast<ms>(done - start).count();
    printf("[          ] 100 pages: printDocument %lld ms, complete PDF after %lld ms\n", sendMs,
           totalMs);
    RecordProperty("printDocumentMs", std::to_string(sendMs));
    RecordProperty("completePdfMs", std::to_string(totalMs));
    std::vector<int> markers = markersOfSheets(pdfPageTexts(job));
    std::vector<int> expected(100);
    for (int i = 0; i < 100; ++i) expected[size_t(i)] = i + 1;
    EXPECT_EQ(markers, expected);
}

}  // namespace
