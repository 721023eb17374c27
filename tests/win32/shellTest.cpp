// The Win32 shell in process, on Wine's real registry, printers, dialogs,
// processes and pipes: what the end-to-end journeys cannot reach or read.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <fstream>
#include <functional>
#include <new>
#include <shlobj.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/appInstance.h"
#include "app/mainWindow.h"
#include "app/openDialog.h"
#include "app/resource.h"
#include "app/windowCommands.h"
#include "document/commandLineFile.h"
#include "document/documentLoader.h"
#include "document/documentNames.h"
#include "document/wideNames.h"
#include "document/earlyRead.h"
#include "document/lineList.h"
#include "filter/filterConfig.h"
#include "filter/filterSwitch.h"
#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "print/pageMetrics.h"
#include "print/pageSetup.h"
#include "print/printJob.h"
#include "print/printerDialogs.h"
#include "settings/registrySettings.h"

// The nothrow array allocation to fail, as a full memory would: 0 the next, -1 none.
int arraysBeforeFailure = -1;
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return arraysBeforeFailure >= 0 && arraysBeforeFailure-- == 0 ? nullptr : malloc(size ? size : 1);
}

namespace {

// The string table is linked into this executable, as into the program.
const bool instanceSet = (appInstance = GetModuleHandleA(nullptr)) != nullptr;

// While alive, every dialog or message box this thread opens is handed to
// `answer`, which gives the command to answer it with (0: none).
struct DialogAnswerer {
    static inline std::function<WPARAM(HWND)> answer;
    HHOOK hook;
    explicit DialogAnswerer(std::function<WPARAM(HWND)> decide) {
        answer = decide;
        hook = SetWindowsHookExA(WH_CBT, cbt, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswerer() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK cbt(int code, WPARAM wParam, LPARAM lParam) {
        char className[16] = "";
        HWND window = reinterpret_cast<HWND>(wParam);
        WPARAM command = code == HCBT_ACTIVATE && GetClassNameA(window, className, sizeof className) &&
                         !strcmp(className, "#32770") ? answer(window) : 0;
        if (command) PostMessageA(window, WM_COMMAND, command, 0);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

inline std::string textOf(HWND window) { char text[400]; return std::string(text, size_t(GetWindowTextA(window, text, sizeof text))); }

void store(const char* key, const char* name, DWORD type, const std::string& bytes) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr), 0);
    EXPECT_EQ(RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size())), 0);
    RegCloseKey(handle);
}

// Code page 932 test names as the program takes names: whole, in UTF-16.
std::wstring wide(const std::string& text) { wchar_t out[MAX_PATH]; return std::wstring(out, size_t(MultiByteToWideChar(932, 0, text.c_str(), -1, out, MAX_PATH) - 1)); }
void name(const std::string& path) { nameDocument(wide(path).c_str()); }

std::string temp(const std::string& name) { char folder[MAX_PATH]; return std::string(folder, GetTempPathA(MAX_PATH, folder)) + name; }

std::string dword(DWORD value) { return std::string(reinterpret_cast<char*>(&value), 4); }

// The file type the open dialog shows (it fills the list after it shows), then Cancel.
char shownType[64];
void CALLBACK readTypeAndCancel(HWND dialog, UINT, UINT_PTR timer, DWORD) {
    KillTimer(dialog, timer);
    GetDlgItemTextA(dialog, cmb1, shownType, sizeof shownType);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

class Shell : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek");
        ASSERT_TRUE(queryDefaultPrinter(nullptr)) << "no default printer";
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek"); }
};

// Stored values are read as stored; unusable ones leave the defaults. The zoom menu marks
// the scale read. The open dialog shows the editor's pattern first, or all files alone.
TEST_F(Shell, StoredValuesAreReadOrRefused) {
    const char *own = programKeyPath, *editor = editorKeyPath;
    mainWindowProc(nullptr, WM_CREATE, 0, 0);
    HMENU zoom = GetSubMenu(GetSubMenu(popupMenu, 0), 8);
    LOGFONTA stored = {};
    strcpy(stored.lfFaceName, "VL Gothic");
    for (bool usable : {true, false}) {
        store(own, "preview scale", REG_DWORD, dword(usable ? 150 : 0));
        store(own, "logfont", REG_BINARY, usable ? std::string(reinterpret_cast<char*>(&stored), 60) : std::string(59, 'A'));
        store(own, "footer(left)", REG_SZ, usable ? std::string("&P", 3) : std::string(300, 'x'));
        store(own, "margin", REG_BINARY, std::string(usable ? 16 : 15, '\0'));  // none kept; a bad value gives 20 mm
        store(editor, "tab count", REG_DWORD, dword(usable ? 8 : DWORD(-5)));
        store(editor, "kinsoku1", REG_SZ, usable ? std::string("x", 2) : std::string(256, '.'));
        store(editor, "default ext", REG_SZ, usable ? std::string("htm", 4) : std::string("html", 5));
        store(editor, "text filter", REG_SZ, usable ? std::string(1, '\0') : std::string(128, 'p'));
        previewScale = pointSize = 100;
        layoutSettings.tabCount = 4;
        headerFooterSettings.footerLeft[0] = '\0';
        LOGFONTA font = {};
        strcpy(font.lfFaceName, "face");
        loadProgramSettings();
        loadEditorSettings();
        loadFontSettings(&font, &pointSize);
        queryDefaultPrinter(nullptr);
        EXPECT_TRUE(pageSetup.rtMargin.left == (usable ? 0 : 2000) && pageSetup.rtMargin.bottom == pageSetup.rtMargin.left);
        mainWindowProc(nullptr, WM_INITMENUPOPUP, WPARAM(zoom), 8);
        auto marked = [&](UINT item) { return (GetMenuState(zoom, item, MF_BYCOMMAND) & MF_CHECKED) != 0; };
        EXPECT_TRUE(marked(usable ? IDM_ZOOM150 : IDM_ZOOM100) && !marked(usable ? IDM_ZOOM100 : IDM_ZOOM150)) << usable;
        EXPECT_TRUE(previewScale == (usable ? 150 : 100) && layoutSettings.tabCount == (usable ? 8 : 4) &&
                    !strcmp(font.lfFaceName, usable ? "VL Gothic" : "face")) << usable;
        EXPECT_TRUE(!strcmp(headerFooterSettings.footerLeft, usable ? "&P" : "") &&
                    !strcmp(defaultExtension, usable ? "htm" : "txt") &&
                    !strcmp(layoutSettings.kinsokuLineStart, usable ? "x" : defaultKinsokuLineStart)) << usable;
        prepareOpenDialog(nullptr);
        DialogAnswerer answerer([](HWND dialog) { SetTimer(dialog, 1, 1, readTypeAndCancel); return WPARAM(0); });
        wchar_t path[PATH_BUFFER_SIZE] = L"";
        EXPECT_TRUE(!chooseDocumentFile(nullptr, path) && !strcmp(shownType, usable ? "すべてのファイル" : "テキストファイル"));
    }
}

// A sheet the print dialog turned is followed, and turned back: the margins turn with it.
TEST_F(Shell, PrintDialogTurnsTheSheet) {
    pageSetup.rtMargin = RECT{1000, 2000, 3000, 4000};
    for (short orientation : {DMORIENT_LANDSCAPE, DMORIENT_PORTRAIT}) {
        static_cast<DEVMODEA*>(GlobalLock(printerDevMode))->dmOrientation = orientation;
        GlobalUnlock(printerDevMode);
        HDC printer = createPrinterDC();
        computePageMetrics(printer);
        DeleteDC(printer);
        const RECT& m = pageSetup.rtMargin;
        const bool turned = orientation == DMORIENT_LANDSCAPE;
        EXPECT_TRUE(m.left == (turned ? 4000 : 1000) && m.top == (turned ? 1000 : 2000) && savedOrientation == orientation);
    }
}

HDROP dropOf(const std::vector<std::string>& names) {
    DROPFILES head = {sizeof head, {}, FALSE, FALSE};
    std::string bytes(reinterpret_cast<char*>(&head), sizeof head);
    for (const std::string& name : names) bytes += name + '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    memcpy(GlobalLock(block), (bytes + '\0').data(), bytes.size() + 1);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// One dropped file is shown; several are printed after one question, and cancelling the
// second job leaves the third unloaded. A wheel notification of any size turns one page,
// none counting as away from the user; Shift stops it. No command line names nothing.
TEST_F(Shell, WindowInput) {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    columnsPerRow = 80, rowsPerPage = 60;
    std::vector<std::string> files, seen;
    for (const char* name : {"pemoDropA.txt", "pemoDropB.txt", "pemoDropC.txt"})
        std::ofstream(files.emplace_back(temp(name)), std::ios::binary) << name;
    DialogAnswerer answerer([&](HWND dialog) {
        seen.push_back(textOf(dialog));
        return seen.back() == "pemoPrint" ? IDYES : seen.size() == 3 ? IDCANCEL : 0;
    });
    auto drop = [&](const std::vector<std::string>& names) {
        seen.clear();
        mainWindowProc(window, WM_DROPFILES, WPARAM(dropOf(names)), 0);
        return seen;
    };
    EXPECT_TRUE(drop({files[2]}).empty() && documentPath == files[2] && pageCount == 1);
    EXPECT_TRUE(drop(files) == (std::vector<std::string>{"pemoPrint", "印刷中", "印刷中"}) && documentPath == files[1]);
    // A printer gone, or refusing the job: the batch stops at once, with a message.
    HGLOBAL mode = printerDevMode;
    printerDevMode = nullptr;
    EXPECT_TRUE(drop(files) == (std::vector<std::string>{"pemoPrint", "pemoPrint"}) && documentPath == files[0]);
    printerDevMode = mode;
    const char* spooler = "Software\\Wine\\Printing\\Spooler";
    store(spooler, "CUPS:PDF", REG_SZ, std::string("/dev/full", 10));
    EXPECT_TRUE(drop(files) == (std::vector<std::string>{"pemoPrint", "印刷中", "pemoPrint"}) && documentPath == files[0]);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, spooler, "CUPS:PDF");

    SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(mainWindowProc));
    pageCount = 3;
    for (auto [keys, delta, from, to] : {std::array<int, 4>{0, 0, 1, 0}, {0, -1, 1, 2}, {MK_SHIFT | MK_CONTROL, 120, 1, 1}}) {
        currentPage = from;
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), 0);
        EXPECT_EQ(currentPage, to) << keys << " " << delta;
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(DefWindowProcA));  // no quit message at its end
    DestroyWindow(window);
    printAtOnce = 1;
    EXPECT_TRUE(takeCommandLineFile(nullptr) == 0 && !printAtOnce);
}

#define PROSE "吾輩は猫である。名前はまだ無い。\r\nどこで生れたか頓と見当がつかぬ。\r\n"


// UTF-8 text as marked UTF-16, in either byte order.
std::string utf16(const std::string& text, int bigEndian) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], int(wide.size()))));
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : wide) bytes += {char(bigEndian ? unit >> 8 : unit), char(bigEndian ? unit : unit >> 8)};
    return bytes;
}

struct RulesFile {
    std::string path, folder = temp("フィルタ");
    RulesFile() {
        char module[MAX_PATH];
        path = std::string(module, GetModuleFileNameA(nullptr, module, MAX_PATH) - 9) + ".ini";
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream(path, std::ios::binary) << std::ifstream(PEMO_SAMPLES "filterRules.ini", std::ios::binary).rdbuf()
                                              << "Directory=" << CharUpperA(&folder[0]);
        layoutSettings.tabCount = 8;
    }
    ~RulesFile() { DeleteFileA(path.c_str()); RemoveDirectoryA(folder.c_str()); }
};

// A pipe ends when its writer closes it. One that breaks off fails the load, read by the
// loader or by a filter's feeder: the message names its full path, and the document shown
// before is gone before the message can paint it.
TEST_F(Shell, PipedInputEndsOnlyWhenClosed) {
    RulesFile rules;
    const std::string block(512, 'q');
    HWND window = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(mainWindowProc));
    columnsPerRow = 80, rowsPerPage = 60;
    for (int run = 0; run < 4; ++run) {
        const bool closed = run < 2;
        const std::string name = run % 2 ? "\\\\.\\pipe\\pemoInput.u8" : "\\\\.\\pipe\\pemoInput";
        HANDLE server = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr);
        std::thread writer([&] {
            DWORD n;
            ConnectNamedPipe(server, nullptr);
            WriteFile(server, block.data(), 512, &n, nullptr);
            FlushFileBuffers(server);  // until it has been read
            if (!closed) DisconnectNamedPipe(server);
            CloseHandle(server);
        });
        ::name(name);
        std::string message;
        int32_t pagesDuringMessage = -1;
        DialogAnswerer answerer([&](HWND box) {
            pagesDuringMessage = pageCount;
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            return message += textOf(GetDlgItem(box, 0xFFFF)), IDOK;
        });
        EXPECT_EQ(loadDocument(nullptr), closed) << run;
        writer.join();
        EXPECT_EQ(message, closed ? "" : name + " の読み込みに失敗しました。");
        EXPECT_TRUE(closed ? head->text == block && pageCount == 1 : !head && !documentPath[0] && !pageCount && !pagesDuringMessage) << run;
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(DefWindowProcA));
    DestroyWindow(window);
}

TEST(FilterRunner, LoadsThroughTheRuleOfEachFile) {
    RulesFile rules;
    std::string prose, text;  // half a megabyte: the filter writes while it is fed
    for (int i = 0; i < 8000; ++i) prose += u8"" PROSE, text += PROSE;
    const int CONTROL = 1, CANCEL = 2;
    const struct { const char* name; std::string bytes; int keys, ok; std::string text; }
    cases[] = {
        {"a.bad", "x", 0, 0, ""}, {"a.bad0", "x", 0, 0, ""}, {"a.long", "x", 0, 0, ""}, {"a.none", "x", 0, 0, ""},
        {"a.crash", "x", 0, 0, ""}, {"g.u16", "", 0, 1, ""}, {"h.u8", "\xEF\xBB\xBF", 0, 1, ""}, {"i.u16", "\xFE\xFF", 0, 1, ""},
        {"a.echo", "direct", 0, 1, "t8 x&T\r\n"}, {"big.echo", prose, 0, 1, "t8 x&T\r\n"}, {"big.quiet", prose, 0, 1, text}, {"a.echo", "direct", CONTROL, 1, "direct"},
        {"a.echo", "direct", CANCEL, 1, "direct"}, {"フィルタ\\a.txt", "x", 0, 1, "folder\r\n"},
        {"a.direct", std::string(70000, 'd'), 0, 1, std::string(70000, 'd')}, {"a.u8", u8"" PROSE, 0, 1, PROSE},
    };
    for (const auto& c : cases) {
        std::ofstream(temp(c.name), std::ios::binary) << c.bytes;
        name(temp(c.name));
        HANDLE input = GetStdHandle(STD_INPUT_HANDLE), output = GetStdHandle(STD_OUTPUT_HANDLE);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = c.keys & CONTROL ? 0x80 : 0;
        SetKeyboardState(keys);
        filterCancel = c.keys & CANCEL;
        size_t messages = 0;
        DialogAnswerer answerer([&](HWND) { return ++messages, IDOK; });
        EXPECT_EQ(loadDocument(nullptr), c.ok) << c.name;
        keys[VK_CONTROL] = filterCancel = 0;
        SetKeyboardState(keys);
        std::string text;
        for (LineNode* line = head; line; line = line->next) text += line->text + std::string(line->next ? "\r\n" : "");
        EXPECT_TRUE(text == c.text && messages == (c.ok ? 0u : 1u)) << c.name << ": ..." << text.substr(text.size() - std::min<size_t>(text.size(), 40));
        EXPECT_TRUE(GetStdHandle(STD_INPUT_HANDLE) == input && GetStdHandle(STD_OUTPUT_HANDLE) == output) << c.name;
        DeleteFileA(temp(c.name).c_str());
    }
    clearLineList();
}

// The shipped converter on its own, each input given as a file and through a Windows pipe
// (cmd's and _popen's ways); what it writes (standard error too) and its exit status.
std::string converterCommand() {
    char module[MAX_PATH];
    return "\"" + std::string(module, GetModuleFileNameA(nullptr, module, MAX_PATH) - 14) + "sjisConverter.exe\"";
}

std::pair<int, std::string> runConverter(const std::string& options, const std::string& bytes, bool piped) {
    const std::string in = temp("converter.in"), out = temp("converter.out");
    std::ofstream(in, std::ios::binary) << bytes;
    DeleteFileA(out.c_str());
    std::string command = "\"" + converterCommand() + " " + options + (piped ? "" : " <\"" + in + "\"") + " >\"" + out + "\" 2>&1\"";
    FILE* input = piped ? _popen(command.c_str(), "wb") : nullptr;  // cmd takes off the outer quotes
    int status = piped ? (fwrite(bytes.data(), 1, bytes.size(), input), _pclose(input)) : system(command.c_str());
    std::ifstream written(out, std::ios::binary);
    return {status, std::string(std::istreambuf_iterator<char>(written), {})};
}

TEST(Converter, ConvertsWhatItIsGiven) {
    const std::string a = std::string(65526, 'a'), window = "\xC3\xA9" + a + "aaaaaa\xE3\x81";
    const struct { const char* options; std::string bytes, text; int status; } cases[] = {
        {"", u8"" PROSE "1\u301C3 \u2212\u2016\u2014\u00A2\u00A3\u00AC \u00A5\u203E\u0101", PROSE "1～3 －∥―￠￡￢ \\~?", 0},
        {"", "\xEF\xBB\xBF" u8"" PROSE "é", PROSE "?", 0}, {"", "", "", 0}, {"", window, window, 0},  // a cut end judged as the end
        {"", utf16(u8"" PROSE "終", 1), PROSE "終", 0}, {"", utf16(a.substr(32758) + u8"終", 0), a.substr(32758) + "終", 0},
        {"", "\x7F" + a + a + PROSE, "\x7F" + a + a + PROSE, 0}, {"", u8"終aaaaa" + a + u8"\u0915", "終aaaaa" + a + "?", 0},
        // EUC-JP with a character cut at a piece's end; an encoding named, then unknown names
        {"", "\xC6\xFC\x8E\xB6\x8F\xB0\xA1" + a + "aa\xA4\xA2", "日ｶ?" + a + "aaあ", 0},
        {"/from:euc-jp", "\xC3\xA9", "\x92\x48", 0}, {"/from:sjis", u8"あ", u8"あ", 0},
        {"/from:latin1", "x", "", 2}, {"/to", "x", "", 2},
    };
    for (const auto& c : cases) {
        for (bool piped : {false, true}) {
            auto [status, text] = runConverter(c.options, c.bytes, piped);
            bool told = c.status != 2 || (text.rfind("sjisConverter: unknown option", 0) == 0 && text.find('\n') == text.size() - 1);
            EXPECT_TRUE(status == c.status && (c.status == 2 ? told : text == c.text)) << c.options << " " << piped << ": " << status << " ..." << text.substr(0, 60);
        }
    }
    // An input it cannot read (a pipe's writing end) fails, not taken as empty; an output it
    // cannot write (a file open for reading) stops it at once, its input still open and full.
    std::string command = converterCommand();
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd, writeEnd, fullRead, fullWrite;
    CreatePipe(&readEnd, &writeEnd, &inherited, 0);
    CreatePipe(&fullRead, &fullWrite, &inherited, 1 << 20);
    HANDLE readOnly = CreateFileA(temp("converter.in").c_str(), GENERIC_READ, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    DWORD put, status = 0;
    WriteFile(fullWrite, (a + a).data(), DWORD(2 * a.size()), &put, nullptr);  // more than a piece
    for (auto [input, output] : {std::pair(writeEnd, writeEnd), std::pair(fullRead, readOnly)}) {
        STARTUPINFOA start = {};
        start.cb = sizeof start, start.dwFlags = STARTF_USESTDHANDLES, start.hStdInput = input, start.hStdOutput = start.hStdError = output;
        PROCESS_INFORMATION process = {};
        EXPECT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process) &&
                    !WaitForSingleObject(process.hProcess, 20000) && GetExitCodeProcess(process.hProcess, &status) && status == 1);
        CloseHandle(process.hProcess), CloseHandle(process.hThread);
    }
    for (HANDLE handle : {readEnd, writeEnd, fullRead, fullWrite, readOnly}) CloseHandle(handle);
}

// The file read ahead is taken by its own load only, once, as it was read. A
// file whose filter wants a console is read at its load, not ahead.
TEST(EarlyRead, IsTakenByTheLoadOfItsFileOnce) {
    RulesFile rules;
    const std::string other = temp("other.txt");
    std::ofstream(other, std::ios::binary) << "other";
    for (std::string name : {"early.direct", "early.quiet", "early.u8"}) {
        const std::string early = temp(name);
        std::ofstream(early, std::ios::binary) << "early";
        std::string seen;
        auto load = [&](const std::string& path) {
            ::name(path);
            EXPECT_EQ(loadDocument(nullptr), 1);
            seen += std::string(head->text) + " ";
        };
        startEarlyRead(wide(early).c_str());
        load(other);
        startEarlyRead(wide(early).c_str());
        awaitEarlyRead();
        std::ofstream(early, std::ios::binary) << "again";
        load(early);
        load(early);
        EXPECT_EQ(seen, name == "early.u8" ? "other again again " : "other early again ") << name;
        DeleteFileA(early.c_str());
    }
}

// Settings that could not be saved could not be put back after a Cancel: no
// dialog then, and nothing changed; with the memory, the dialog shows.
TEST_F(Shell, NoPrinterDialogWithoutMemoryToSaveTheSettings) {
    int dialogs = 0;
    DialogAnswerer answerer([&](HWND) { return ++dialogs, WPARAM(IDCANCEL); });
    const HGLOBAL mode = printerDevMode, names = printerDevNames;
    for (int failing : {0, 1, 2, 3}) {  // the mode, then the names, of each dialog
        arraysBeforeFailure = failing % 2;
        EXPECT_TRUE(!(failing < 2 ? runPageSetupDialog() : runPrintDialog()) && !dialogs && printerDevMode == mode &&
                    printerDevNames == names) << failing;
    }
    pageSetup.Flags = PSD_MARGINS, arraysBeforeFailure = -1;
    EXPECT_TRUE(!runPageSetupDialog() && dialogs == 1);
}

// The abort procedure handles every waiting message in one call: a Cancel behind others stops the job.
TEST(PrintJob, AbortProcedureAnswersACancelBehindOtherMessages) {
    printCancelled = 0, progressDialog = CreateDialogA(appInstance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, progressDialogProc);
    PostMessageA(progressDialog, WM_NULL, 0, 0);
    PostMessageA(progressDialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(!printAbortProc(nullptr, 0) && printCancelled && !progressDialog);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
    printCancelled = 0;
}

// A Cancel stops the job before its next page, whether the driver asks the abort procedure
// or not: no more pages reach the printer, and no message shows. Without it, all do. Wine
// asks it only in StartDoc and EndDoc; a message sent from another thread waits for a turn,
// and cancels once the job has begun (it has taken its date).
LRESULT CALLBACK cancelOnceBegun(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP && dateText[0] && progressDialog) SendMessageA(progressDialog, WM_COMMAND, IDCANCEL, 0);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Shell, CancelStopsTheJobBeforeItsNextPage) {
    const char* spooler = "Software\\Wine\\Printing\\Spooler";
    store(spooler, "CUPS:PDF", REG_SZ, std::string("/tmp/pemoCancel.ps", 19));
    std::ofstream(temp("pemoPages.txt"), std::ios::binary) << "1\f2\f3\f4";
    name(temp("pemoPages.txt"));
    columnsPerRow = 80, rowsPerPage = 60;
    ASSERT_TRUE(loadDocument(nullptr) && pageCount == 4);
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(cancelOnceBegun));
    for (bool cancel : {false, true}) {
        DeleteFileA("Z:\\tmp\\pemoCancel.ps");
        int messages = 0;
        DialogAnswerer answerer([&](HWND dialog) { return textOf(dialog) == "印刷中" ? 0 : (++messages, IDOK); });
        volatile bool printing = true;
        std::thread canceller([&] { while (cancel && printing) SendMessageTimeoutA(window, WM_APP, 0, 0, 0, 50, nullptr); });
        HDC printer = createPrinterDC();
        computePageMetrics(printer);
        dateText[0] = '\0';
        EXPECT_EQ(printDocument(nullptr, printer, &printerMetrics), !cancel);
        printing = false;
        canceller.join();
        DeleteDC(printer);
        std::stringstream printed;
        printed << std::ifstream("Z:\\tmp\\pemoCancel.ps", std::ios::binary).rdbuf();
        size_t pages = 0;
        for (size_t at = 0; (at = printed.str().find("%%Page:", at)) != std::string::npos; ++at) ++pages;
        EXPECT_TRUE(pages == (cancel ? 0u : 4u) && !messages) << cancel << " " << pages;
    }
    DestroyWindow(window);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, spooler, "CUPS:PDF");
}

// Each file opens by its whole name, directly and through a filter's feeder; a missing one is
// named whole in its message. &F and &U give the names as code page 932 writes them, and the
// rules, from a UTF-8 or a UTF-16 BE file, match that form (console flag and command):
// "dirécť" is no ".direct".
TEST(UnicodeNames, OpenedShownAndMatchedWhole) {
    wchar_t folder[MAX_PATH], module[MAX_PATH];
    char folder932[MAX_PATH];
    const std::wstring base = std::wstring(folder, GetTempPathW(MAX_PATH, folder)) + L"café\\";
    const std::string base932 = std::string(folder932, GetTempPathA(MAX_PATH, folder932)) + "caf?\\";
    const std::wstring rules = std::wstring(module, GetModuleFileNameW(nullptr, module, MAX_PATH) - 9) + L".ini";
    const std::string rulesText = "[Initialize]\nNumOfFilter=2\n[Filter1]\nSuffixes=.direct\n[Filter2]\nSuffixes=.u8\n"
                                  "InputFilter=sjisConverter.exe\nConsole=0\n";
    std::string bigEndian = "\xFE\xFF";  // the rules as UTF-16 BE, for the second file
    for (char c : rulesText) bigEndian += {'\0', c};
    CreateDirectoryW(base.c_str(), nullptr);
    std::wstring shownMessage;
    DialogAnswerer answerer([&](HWND box) {
        wchar_t text[400] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 400);
        return shownMessage = text, WPARAM(IDOK);
    });
    const struct { const wchar_t* name; const char *bytes, *text, *title, *rule; } cases[] = {
        {L"𠮷野家♡.direct", "メモ", "メモ", "?野家?.direct", "1"}, {L"😀 メモ.u8", u8"猫", "猫", "? メモ.u8", "0sjisConverter.exe"},
        {L"x.dirécť", nullptr, "", "", "0"}};
    for (auto c : cases) {
        const std::wstring path = base + c.name;
        std::ofstream(rules.c_str(), std::ios::binary) << (c.name == cases[1].name ? bigEndian : "\xEF\xBB\xBF" + rulesText);
        if (c.bytes) std::ofstream(path.c_str(), std::ios::binary) << c.bytes;
        shownMessage.clear();
        nameDocument(path.c_str());
        EXPECT_EQ(loadDocument(nullptr), c.bytes != nullptr);
        EXPECT_EQ(shownMessage, c.bytes ? L"" : path + L" の読み込みに失敗しました。");
        char expanded[EXPANDED_TEMPLATE_SIZE], rule[260] = "";
        expandTemplate("&F|&U", expanded, sizeof expanded);
        int console = findFilterFor(path.c_str(), rule, sizeof rule);
        EXPECT_TRUE(expanded == (c.bytes ? c.title + ("|" + base932) + c.title : "|") && !strcmp(head ? head->text : "", c.text) &&
                    std::to_string(console) + rule == c.rule) << expanded;
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(base.c_str());
    DeleteFileW(rules.c_str());
}

// WM_DPICHANGED: the sheet and the screen font are measured again at the new DPI, at the
// same zoom, in the place the system suggests. The PDF printer's A4 at 60 %.
TEST(Dpi, SheetFollowsTheWindowsDpi) {
    ASSERT_TRUE(queryDefaultPrinter(nullptr));
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    previewScale = 60, pointSize = 100;
    const LONG cases[][5] = {{144, 288, 711, 1011, -20}, {96, 192, 474, 673, -13}};  // DPI, top, width, height, font
    for (auto want : cases) {
        RECT suggested = {want[0], want[1], 0, 0}, now;
        mainWindowProc(window, WM_DPICHANGED, MAKEWPARAM(want[0], want[0]), LPARAM(&suggested));
        GetWindowRect(window, &now);
        const LONG got[] = {now.left, now.top, now.right - now.left, now.bottom - now.top, screenMetrics.logFont.lfHeight};
        EXPECT_FALSE(memcmp(got, want, sizeof got)) << want[0] << ": " << got[2] << " x " << got[3];
    }
    screenDpi = 0;
    DestroyWindow(window);
}

}  // namespace
