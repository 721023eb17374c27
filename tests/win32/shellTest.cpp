// The Win32 shell in process, on Wine's real registry, printers, dialogs,
// processes and pipes: what the end-to-end journeys cannot reach or read.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <shlobj.h>
#include <string>
#include <thread>
#include <vector>

#include "app/appInstance.h"
#include "app/mainWindow.h"
#include "app/resource.h"
#include "app/windowCommands.h"
#include "document/documentLoader.h"
#include "document/documentNames.h"
#include "document/wideNames.h"
#include "document/lineList.h"
#include "filter/filterConfig.h"
#include "filter/filterSwitch.h"
#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "print/deviceFont.h"
#include "print/formatDialog.h"
#include "print/pageMetrics.h"
#include "print/pageSetup.h"
#include "print/printJob.h"
#include "print/printerDialogs.h"
#include "settings/registrySettings.h"

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
    EXPECT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, bytes.data(), DWORD(bytes.size())), 0) << name;
}

// Code page 932 test names as the program takes names: whole, in UTF-16.
void name(const std::string& path) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(932, 0, path.c_str(), -1, wide, MAX_PATH);
    nameDocument(wide);
}

std::string temp(const std::string& name) { char folder[MAX_PATH]; return std::string(folder, GetTempPathA(MAX_PATH, folder)) + name; }

std::string dword(DWORD value) { return std::string(reinterpret_cast<char*>(&value), 4); }

HWND popup(DWORD style = 0) { return CreateWindowA("STATIC", "", WS_POPUP | style, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr); }

// Where Wine's CUPS printers are sent: a printer's value names a file to print into instead.
const char spooler[] = "Software\\Wine\\Printing\\Spooler";

class Shell : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek");
        ASSERT_TRUE(queryDefaultPrinter(nullptr)) << "no default printer";
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek"); }
};

// Nothing stored: the margins are measured on the printer. Unusable stored values leave the
// defaults; zero margins and the last template and flag, stored usable beside them, are read;
// the zoom menu marks the scale in use, and the format dialog opens the footer's edits alone.
// Then the registry refuses the key (non-volatile beneath a volatile one): each accepted zoom,
// format, font and page setup loses its save with a warning.
TEST_F(Shell, StoredValuesReadAndRefused) {
    const RECT fresh = pageSetup.rtMargin, measured = defaultMargins();
    const char *own = programKeyPath, *editor = editorKeyPath;
    store(own, "preview scale", REG_DWORD, dword(0));
    store(own, "logfont", REG_BINARY, std::string(59, 'A'));
    store(own, "footer(left)", REG_SZ, std::string(300, 'x'));
    store(own, "footer(right)", REG_SZ, std::string("&P", 3));
    store(own, "print footer", REG_DWORD, dword(1));
    store(own, "margin", REG_BINARY, std::string(16, '\0'));  // all four chosen as zero
    store(editor, "tab count", REG_DWORD, dword(DWORD(-5)));
    store(editor, "kinsoku1", REG_SZ, std::string(256, '.'));
    store(editor, "default ext", REG_SZ, std::string("html", 5));
    previewScale = pointSize = 100;
    layoutSettings.tabCount = 4;
    headerFooterSettings.footerLeft[0] = '\0';
    initFontDialog(nullptr), setDefaultFontDescription(&screenMetrics.logFont);
    loadProgramSettings();
    loadEditorSettings();
    loadFontSettings(&screenMetrics.logFont, &pointSize);
    queryDefaultPrinter(nullptr);
    mainWindowProc(nullptr, WM_CREATE, 0, 0);
    HMENU zoom = GetSubMenu(GetSubMenu(popupMenu, 0), 8);
    mainWindowProc(nullptr, WM_INITMENUPOPUP, WPARAM(zoom), 8);
    EXPECT_TRUE(GetMenuState(zoom, IDM_ZOOM100, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(!memcmp(&fresh, &measured, sizeof fresh) && fresh.left > 0 && previewScale == 100 && layoutSettings.tabCount == 4 && screenMetrics.logFont.lfCharSet == SHIFTJIS_CHARSET &&
                !pageSetup.rtMargin.left && !headerFooterSettings.footerLeft[0] && !strcmp(headerFooterSettings.footerRight, "&P") && !strcmp(defaultExtension, "txt") &&
                !strcmp(layoutSettings.kinsokuLineStart, defaultKinsokuLineStart));
    std::string seen;
    DialogAnswerer answerer([&](HWND box) {
        for (int id = IDC_HEADER_LEFT; id < IDC_HEADER_LEFT + 6 && GetDlgItem(box, id); ++id) seen += IsWindowEnabled(GetDlgItem(box, id)) ? '1' : '0';
        return seen += textOf(box) == "pemoPrint" ? textOf(GetDlgItem(box, 0xFFFF)) : "", IDOK;
    });
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek");
    HKEY vendor = HKEY_CURRENT_USER;
    RegCreateKeyExA(vendor, "SOFTWARE\\dalvek", 0, 0, REG_OPTION_VOLATILE, 0, 0, &vendor, 0);
    RegCloseKey(vendor);
    zoomCommand(nullptr, 150), formatCommand(nullptr), fontCommand(nullptr), runPageSetup(nullptr);
    const std::string refused = "設定をレジストリに保存できませんでした。";
    EXPECT_EQ(seen, refused + "000111" + refused + refused + refused);
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
// second job leaves the third unloaded.
TEST_F(Shell, WindowInput) {
    HWND window = popup();
    columnsPerRow = 80, rowsPerPage = 60;
    using Texts = std::vector<std::string>;
    const Texts twoJobs = {"pemoPrint", "印刷中", "印刷中"};  // the question, then two jobs
    Texts files, seen;
    for (const char* name : {"pemoDropA.txt", "pemoDropB.txt", "pemoDropC.txt"})
        std::ofstream(files.emplace_back(temp(name)), std::ios::binary) << name;
    bool cancelSecond = true;
    DialogAnswerer answerer([&](HWND dialog) {
        seen.push_back(textOf(dialog));
        return seen.back() == "pemoPrint" ? IDYES : seen.size() == 3 && cancelSecond ? IDCANCEL : 0;
    });
    auto drop = [&](const std::vector<std::string>& names) {
        seen.clear();
        mainWindowProc(window, WM_DROPFILES, WPARAM(dropOf(names)), 0);
        return seen;
    };
    EXPECT_TRUE(drop({files[2]}).empty() && documentPath == files[2] && pageCount == 1);
    EXPECT_TRUE(drop(files) == twoJobs && documentPath == files[1]);
    cancelSecond = false;  // every job printed, and nothing after the last
    EXPECT_TRUE(drop({files[0], files[2]}) == twoJobs && documentPath == files[2]);
    // A printer gone, or refusing the job: the batch stops at once, with a message.
    HGLOBAL mode = printerDevMode;
    printerDevMode = nullptr;
    EXPECT_TRUE(drop(files) == (Texts{"pemoPrint", "pemoPrint"}) && documentPath == files[0]);
    printerDevMode = mode;
    store(spooler, "CUPS:PDF", REG_SZ, std::string("/dev/full", 10));
    EXPECT_TRUE(drop(files) == (Texts{"pemoPrint", "印刷中", "pemoPrint"}) && documentPath == files[0]);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, spooler, "CUPS:PDF");

    DestroyWindow(window);
}

#define PROSE "吾輩は猫である。名前はまだ無い。\r\nどこで生れたか頓と見当がつかぬ。\r\n"


// UTF-8 text as marked UTF-16 LE.
std::string utf16(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], int(wide.size()))));
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : wide) bytes += {char(unit), char(unit >> 8)};
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
    HWND window = popup(WS_VISIBLE);
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
    FreeConsole();  // as the program, which has none of its own to lend its filters
    std::string prose, text;  // half a megabyte: the filter writes while it is fed
    const std::string a(65526, 'a'), window = "\xC3\xA9" + a + "aaaaaa\xE3\x81";
    for (int i = 0; i < 8000; ++i) prose += u8"" PROSE, text += PROSE;
    const int CONTROL = 1, CANCEL = 2, RULES_HELD = 4;
    const struct { const char* name; std::string bytes; int keys, ok; std::string text; }
    cases[] = {
        {"a.bad0", "x", 0, 0, ""}, {"a.long", "x", 0, 0, ""}, {"a.none", "x", 0, 0, ""},
        {"a.crash", "x", 0, 0, ""}, {"g.u16", "", 0, 1, ""},
        {"a.echo", "direct", 0, 1, "t8 x&T\r\n"}, {"big.echo", prose, 0, 1, "t8 x&T\r\n"}, {"big.quiet", prose, 0, 1, text}, {"a.echo", "direct", CONTROL, 1, "direct"},
        {"a.echo", "direct", CANCEL, 1, "direct"}, {"フィルタ\\a.txt", "x", 0, 1, "folder\r\n"},
        {"a.direct", std::string(70000, 'd'), 0, 1, std::string(70000, 'd')},
        // Rules that are there but cannot be read (held by another program) are not taken for none.
        {"a.text", "x", RULES_HELD, 0, ""},
        // The converter: its mapping, a cut end at its window's edge judged as the end, UTF-16
        // and EUC-JP characters cut at its pieces' ends; a bad option (".none") fails
        {"a.u8", u8"" PROSE "1\u301C3 \u2212\u2016\u2014\u00A2\u00A3\u00AC \u00A5\u203E\u0101", 0, 1, PROSE "1～3 －∥―￠￡￢ \\~?"},
        {"w.u8", window, 0, 1, window}, {"x.u16", utf16(a.substr(32758) + u8"終"), 0, 1, a.substr(32758) + "終"},
        {"e.u8", "\xC6\xFC\x8E\xB6\x8F\xB0\xA1" + a + "aa\xA4\xA2", 0, 1, "日ｶ?" + a + "aaあ"},
    };
    const auto standard = [] {
        return std::vector<HANDLE>{GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE), GetStdHandle(STD_ERROR_HANDLE)};
    };
    for (const auto& c : cases) {
        std::ofstream(temp(c.name), std::ios::binary) << c.bytes;
        name(temp(c.name));
        const std::vector<HANDLE> before = standard();
        BYTE keys[256] = {};
        keys[VK_CONTROL] = c.keys & CONTROL ? 0x80 : 0;
        SetKeyboardState(keys);
        filterCancel = c.keys & CANCEL;
        size_t messages = 0;
        DialogAnswerer answerer([&](HWND) { return ++messages, IDOK; });
        const DWORD sharing = c.keys & RULES_HELD ? 0 : FILE_SHARE_READ;  // by us alone, or by all
        HANDLE held = CreateFileA(rules.path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(loadDocument(nullptr), c.ok) << c.name;
        CloseHandle(held);
        keys[VK_CONTROL] = filterCancel = 0;
        SetKeyboardState(keys);
        std::string text;
        for (LineNode* line = head; line; line = line->next) text += line->text + std::string(line->next ? "\r\n" : "");
        EXPECT_TRUE(text == c.text && messages == (c.ok ? 0u : 1u)) << c.name << ": ..." << text.substr(text.size() - std::min<size_t>(text.size(), 40));
        EXPECT_EQ(standard(), before) << c.name;  // the program's own, whatever a console made
        DeleteFileA(temp(c.name).c_str());
    }
    EXPECT_EQ(GetConsoleCP(), 0u) << "the filters' console outlived them";
    clearLineList();
}

// The shipped converter given an input it cannot read (a pipe's writing end) fails, not
// taking it as empty; an output it cannot write (a file open for reading) stops it at once,
// its input still open and full.
TEST(Converter, StopsWhenItCannotReadOrWrite) {
    char module[MAX_PATH];
    std::string command = std::string(module, GetModuleFileNameA(nullptr, module, MAX_PATH) - 14) + "sjisConverter.exe";
    const std::string a(65526, 'a'), in = temp("converter.in");
    std::ofstream(in, std::ios::binary) << a;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd, writeEnd, fullRead, fullWrite;
    CreatePipe(&readEnd, &writeEnd, &inherited, 0);
    CreatePipe(&fullRead, &fullWrite, &inherited, 1 << 20);
    HANDLE readOnly = CreateFileA(in.c_str(), GENERIC_READ, 0, &inherited, OPEN_EXISTING, 0, nullptr);
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

// A Cancel stops the job before its next page, whether the driver asks the abort procedure
// or not: no more pages reach the printer, and no message shows. Without it, all do. Wine
// asks it only in StartDoc and EndDoc; a message sent from another thread waits for a turn,
// and cancels once the job has begun (it has taken its date).
LRESULT CALLBACK cancelOnceBegun(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP && dateText[0] && progressDialog) SendMessageA(progressDialog, WM_COMMAND, IDCANCEL, 0);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Shell, CancelStopsTheJobBeforeItsNextPage) {
    store(spooler, "CUPS:PDF", REG_SZ, std::string("/tmp/pemoCancel.ps", 19));
    std::ofstream(temp("pemoPages.txt"), std::ios::binary) << "1\f2\f3\f4";
    name(temp("pemoPages.txt"));
    columnsPerRow = 80, rowsPerPage = 60;
    ASSERT_TRUE(loadDocument(nullptr) && pageCount == 4);
    HWND window = popup();
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
        std::ifstream printed("Z:\\tmp\\pemoCancel.ps", std::ios::binary);
        const auto pages = std::count(std::istream_iterator<std::string>(printed), {}, std::string("%%Page:"));
        EXPECT_TRUE(pages == (cancel ? 0 : 4) && !messages) << cancel << " " << pages;
    }
    DestroyWindow(window);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, spooler, "CUPS:PDF");
    // The abort procedure handles every waiting message in one call: a Cancel behind others stops the job.
    printCancelled = 0, progressDialog = CreateDialogA(appInstance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, progressDialogProc);
    PostMessageA(progressDialog, WM_NULL, 0, 0);
    PostMessageA(progressDialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(!printAbortProc(nullptr, 0) && printCancelled && !progressDialog);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
    printCancelled = 0;
}

// Each file opens by its whole name, directly and through a filter's feeder; a missing one is
// named whole in its message, and forgotten. &F and &U give the names as code page 932 writes
// them, and the rules, from a UTF-16 LE, UTF-16 BE or UTF-8 file, match that form (console flag
// and command): "dirécť" is no ".direct".
TEST(UnicodeNames, OpenedShownAndMatchedWhole) {
    wchar_t folder[MAX_PATH], module[MAX_PATH];
    const std::wstring base = std::wstring(folder, GetTempPathW(MAX_PATH, folder)) + L"café\\";
    const std::string base932 = temp("caf?\\");
    const std::wstring rules = std::wstring(module, GetModuleFileNameW(nullptr, module, MAX_PATH) - 9) + L".ini";
    const std::string rulesText = "[Initialize]\nNumOfFilter=2\n[Filter1]\nSuffixes=.direct\n[Filter2]\nSuffixes=.u8\n"
                                  "Console=0\nInputFilter=sjisConverter.exe";  // its last character ends the file
    // UTF-16 LE and BE, UTF-8
    std::string forms[] = {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF" + rulesText};
    for (char c : rulesText) forms[0] += {c, '\0'}, forms[1] += {'\0', c};
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
    for (const auto& c : cases) {
        const std::wstring path = base + c.name;
        std::ofstream(rules.c_str(), std::ios::binary) << forms[&c - cases];
        if (c.bytes) std::ofstream(path.c_str(), std::ios::binary) << c.bytes;
        shownMessage.clear();
        nameDocument(path.c_str());
        EXPECT_EQ(loadDocument(nullptr), c.bytes != nullptr);
        EXPECT_EQ(shownMessage, c.bytes ? L"" : path + L" の読み込みに失敗しました。");
        EXPECT_TRUE(c.bytes || !(documentPathWide[0] | documentTitleWide[0]));
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
TEST_F(Shell, SheetFollowsTheWindowsDpi) {
    HWND window = popup();
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
