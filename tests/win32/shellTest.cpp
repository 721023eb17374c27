// The Win32 shell in process, on Wine's real registry, printers and dialogs:
// what the end-to-end journeys cannot reach or cannot read.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/appInstance.h"
#include "app/mainWindow.h"
#include "app/messageLoop.h"
#include "app/openDialog.h"
#include "app/resource.h"
#include "app/windowCommands.h"
#include "document/documentLoader.h"
#include "document/documentNames.h"
#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "layout/leadByte.h"
#include "layout/pagination.h"
#include "print/pageMetrics.h"
#include "print/pageSetup.h"
#include "settings/registrySettings.h"
#include "dialogAnswerer.h"

namespace {

void store(const char* key, const char* name, DWORD type, const std::string& bytes) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr), 0);
    RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
    RegCloseKey(handle);
}

std::string dword(DWORD value) { return std::string(reinterpret_cast<char*>(&value), 4); }

class Shell : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek");
        ASSERT_TRUE(queryDefaultPrinter(nullptr)) << "no default printer";
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek"); }
};

TEST_F(Shell, PlatformAnswersMatchTheCore) {
    ASSERT_EQ(GetACP(), 932u) << "the tests need LANG=ja_JP.UTF-8";
    for (int byte = 0; byte < 256; ++byte) EXPECT_EQ(isLeadByte(byte) != 0, IsDBCSLeadByte(BYTE(byte)) != 0) << byte;
    const char* defaults[] = {defaultKinsokuLineStart, defaultKinsokuHanging, defaultKinsokuLineEnd};
    for (UINT id = IDS_KINSOKU_LINE_START; id <= IDS_KINSOKU_LINE_END; ++id) {
        char text[KINSOKU_SET_SIZE] = "";
        LoadStringA(appInstance, id, text, sizeof text);
        EXPECT_STREQ(text, defaults[id - IDS_KINSOKU_LINE_START]);
    }
}

// Values of the wrong type or size, or that the program cannot use, are
// ignored and the defaults stay.
TEST_F(Shell, HostileStoredValuesKeepTheDefaults) {
    const char *own = programKeyPath, *editor = editorKeyPath;
    store(own, "preview scale", REG_DWORD, dword(0));
    store(own, "logfont", REG_BINARY, std::string(59, 'A'));
    store(own, "footer(left)", REG_SZ, std::string(300, 'x'));
    store(editor, "tab count", REG_DWORD, dword(DWORD(-5)));
    store(editor, "kinsoku1", REG_SZ, std::string(256, '.'));
    store(editor, "default ext", REG_SZ, std::string("html", 5));
    previewScale = pointSize = 100;
    layoutSettings.tabCount = 4;
    LOGFONTA font = {};
    strcpy(font.lfFaceName, "face");
    loadProgramSettings();
    loadEditorSettings();
    loadFontSettings(&font, &pointSize);
    EXPECT_EQ(previewScale, 100);
    EXPECT_STREQ(font.lfFaceName, "face");
    EXPECT_STREQ(headerFooterSettings.footerLeft, "");
    EXPECT_EQ(layoutSettings.tabCount, 4);
    EXPECT_STREQ(layoutSettings.kinsokuLineStart, defaultKinsokuLineStart);
    EXPECT_STREQ(defaultExtension, "txt");
}

// The open dialog's file types: the editor's pattern first, or all files
// alone when the editor has none; a pattern of 127 bytes still fits.
TEST_F(Shell, OpenDialogFileTypes) {
    const std::string all = std::string("すべてのファイル") + '\0' + "*.*" + '\0' + '\0';
    const std::string patterns[] = {"", "*.txt", std::string(127, 'p')};
    for (const std::string& pattern : patterns) {
        strcpy(openFilterPattern, pattern.c_str());
        prepareOpenDialog(nullptr);
        std::string expected = pattern.empty() ? all : std::string("テキストファイル") + '\0' + pattern + '\0' + all;
        EXPECT_EQ(std::string(openFilterList, expected.size()), expected) << pattern.size();
    }
}

// A file that cannot be read: its message names the full path, and the
// document is left empty.
TEST_F(Shell, UnreadableFileIsReportedAndEmptied) {
    std::string text;
    strcpy(documentPath, "Z:\\no\\such\\ファイル.txt");
    DialogAnswerer answerer([&](HWND box) {
        text = textOf(GetDlgItem(box, 0xFFFF));
        return IDOK;
    });
    EXPECT_EQ(loadDocument(nullptr), 0);
    EXPECT_EQ(text, "Z:\\no\\such\\ファイル.txt の読み込みに失敗しました。");
    EXPECT_EQ(pageCount, 0);
    EXPECT_STREQ(documentPath, "");
}

// The print dialog's page fields are 16 bits: a longer document offers
// pages 1 to 65535.
TEST_F(Shell, PrintDialogPagesStayInSixteenBits) {
    pageCount = 65537;
    currentPage = 65536;
    WORD fields[3] = {};
    DialogAnswerer answerer([&](HWND) {
        fields[0] = printDialog.nFromPage, fields[1] = printDialog.nToPage, fields[2] = printDialog.nMaxPage;
        return IDCANCEL;
    });
    printCommand(nullptr);
    EXPECT_EQ(fields[0], 65535);
    EXPECT_EQ(fields[1], 65535);
    EXPECT_EQ(fields[2], 65535);
    pageCount = currentPage = 0;
}

// A dialog may free the DEVMODE it was given and hand back a new one; the
// program must keep the new one, with the settings from before a Cancel.
TEST_F(Shell, PrinterHandlesComeBackFromTheDialog) {
    pageCount = 1;
    HGLOBAL replaced = nullptr;
    DialogAnswerer answerer([&](HWND) {
        SIZE_T size = GlobalSize(printDialog.hDevMode);
        replaced = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(replaced), GlobalLock(printDialog.hDevMode), size);
        GlobalUnlock(replaced);
        static_cast<DEVMODEA*>(GlobalLock(replaced))->dmOrientation = DMORIENT_LANDSCAPE;
        GlobalUnlock(replaced);
        GlobalUnlock(printDialog.hDevMode);
        GlobalFree(printDialog.hDevMode);
        printDialog.hDevMode = replaced;
        return IDCANCEL;
    });
    printCommand(nullptr);
    ASSERT_EQ(printerDevMode, replaced);
    EXPECT_EQ(static_cast<DEVMODEA*>(GlobalLock(printerDevMode))->dmOrientation, DMORIENT_PORTRAIT);
    GlobalUnlock(printerDevMode);
    EXPECT_EQ(printDialog.hDevMode, nullptr);
    pageCount = 0;
}

TEST_F(Shell, OrientationOfThePrinterAndTheStore) {
    // A printer that reports no orientation is not turned by a stored one.
    HGLOBAL mode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    store(programKeyPath, "orientation", REG_BINARY, std::string("\1\0", 2));
    POINT paper = {21000, 29700};
    RECT margins = {};
    loadPageSettings(&margins, mode, &paper);
    EXPECT_EQ(paper.x, 21000);
    EXPECT_EQ(static_cast<DEVMODEA*>(GlobalLock(mode))->dmOrientation, 0);
    // The sheet in use has turned even when the key cannot be written (a
    // volatile parent cannot hold the program's lasting key).
    static_cast<DEVMODEA*>(GlobalLock(mode))->dmOrientation = DMORIENT_LANDSCAPE;
    GlobalUnlock(mode);
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek");
    HKEY parent;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_WRITE, nullptr, &parent, nullptr), 0);
    RegCloseKey(parent);
    savedOrientation = DMORIENT_PORTRAIT;
    EXPECT_EQ(savePageSettings(&margins, mode), 0);
    EXPECT_EQ(savedOrientation, DMORIENT_LANDSCAPE);
    GlobalFree(mode);
}

// A drop handle as the shell makes one: a DROPFILES block of ANSI names.
HDROP dropOf(const std::vector<std::string>& names) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names) size += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    char* bytes = static_cast<char*>(GlobalLock(block));
    reinterpret_cast<DROPFILES*>(bytes)->pFiles = sizeof(DROPFILES);
    char* at = bytes + sizeof(DROPFILES);
    for (const std::string& name : names) at += name.copy(at, name.size()) + 1;
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// One dropped file is shown without a question; several are printed after
// one, and cancelling the second job leaves the third unloaded.
TEST_F(Shell, DroppedFiles) {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    columnsPerRow = 80, rowsPerPage = 60;
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::vector<std::string> files;
    for (const char* name : {"pemoDropA.txt", "pemoDropB.txt", "pemoDropC.txt"}) {
        files.push_back(std::string(folder) + name);
        FILE* file = fopen(files.back().c_str(), "wb");
        fputs(name, file);
        fclose(file);
    }
    std::vector<std::string> seen;
    DialogAnswerer answerer([&](HWND dialog) {
        seen.push_back(textOf(dialog));
        return seen.back() == "pemoPrint" ? IDYES : seen.size() == 3 ? IDCANCEL : 0;
    });
    mainWindowProc(window, WM_DROPFILES, WPARAM(dropOf({files[2]})), 0);
    EXPECT_TRUE(seen.empty() && documentPath == files[2] && pageCount == 1);
    mainWindowProc(window, WM_DROPFILES, WPARAM(dropOf(files)), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"pemoPrint", "印刷中", "印刷中"}));
    EXPECT_EQ(documentPath, files[1]);
    DestroyWindow(window);
}

BOOL WINAPI failingQueue(LPMSG, HWND, UINT, UINT) { return -1; }

TEST_F(Shell, BrokenMessageQueueEndsWithAnError) {
    getMessage = failingQueue;
    EXPECT_EQ(runMessageLoop(nullptr, nullptr), 1);
    getMessage = GetMessageA;
}

}  // namespace
