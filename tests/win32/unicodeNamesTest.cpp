// Names with characters code page 932 lacks, and the preview at another DPI, in process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>

#include "app/mainWindow.h"
#include "document/documentLoader.h"
#include "document/lineList.h"
#include "document/wideNames.h"
#include "filter/filterConfig.h"
#include "layout/headerFooter.h"
#include "print/pageMetrics.h"
#include "print/pageSetup.h"

namespace {

std::wstring shownMessage;
LRESULT CALLBACK takeMessage(int code, WPARAM box, LPARAM lParam) {
    wchar_t text[400];
    if (code == HCBT_ACTIVATE && GetDlgItemTextW(HWND(box), 0xFFFF, text, 400) && PostMessageW(HWND(box), WM_COMMAND, IDOK, 0)) shownMessage = text;
    return CallNextHookEx(nullptr, code, box, lParam);
}

// Each file opens by its whole name, directly and through a filter's feeder; a missing one is
// named whole in its message. &F and &U give the names as code page 932 writes them, and the
// rules, from a UTF-8 file, match that form (console flag and command): "dirécť" is no ".direct".
TEST(UnicodeNames, OpenedShownAndMatchedWhole) {
    wchar_t folder[MAX_PATH], module[MAX_PATH];
    char folder932[MAX_PATH];
    const std::wstring base = std::wstring(folder, GetTempPathW(MAX_PATH, folder)) + L"café\\";
    const std::string base932 = std::string(folder932, GetTempPathA(MAX_PATH, folder932)) + "caf?\\";
    const std::wstring rules = std::wstring(module, GetModuleFileNameW(nullptr, module, MAX_PATH) - 9) + L".ini";
    std::ofstream(rules.c_str()) << "\xEF\xBB\xBF[Initialize]\nNumOfFilter=2\n[Filter1]\nSuffixes=.direct\n[Filter2]\nSuffixes=.u8\n"
                                    "InputFilter=sjisConverter.exe\nConsole=0\n";
    CreateDirectoryW(base.c_str(), nullptr);
    HHOOK hook = SetWindowsHookExW(WH_CBT, takeMessage, nullptr, GetCurrentThreadId());
    const struct { const wchar_t* name; const char *bytes, *text, *title, *rule; } cases[] = {
        {L"𠮷野家♡.direct", "メモ", "メモ", "?野家?.direct", "1"}, {L"😀 メモ.u8", u8"猫", "猫", "? メモ.u8", "0sjisConverter.exe"},
        {L"x.dirécť", nullptr, "", "", "0"}};
    for (auto c : cases) {
        const std::wstring path = base + c.name;
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
    UnhookWindowsHookEx(hook);
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
