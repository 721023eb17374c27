// The preview window's procedure, driven in process with the documented
// messages: page keys, wheel, zoom, menus and resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/appInstance.h"
#include "app/mainWindow.h"
#include "app/resource.h"
#include "app/windowCommands.h"
#include "app/windowSizing.h"
#include "dialogWatcher.h"
#include "document/lineList.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"
#include "print/pageMetrics.h"
#include "settings/registrySettings.h"

namespace {

class MainWindow : public testing::Test {
protected:
    HWND window = nullptr;

    void SetUp() override {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = mainWindowProc;
        windowClass.hInstance = appInstance;
        windowClass.lpszClassName = "pemoPrintTest";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "pemoPrintTest", "pemoPrint test", WS_POPUP, 0, 0, 100, 100,
                                 nullptr, nullptr, appInstance, nullptr);
        ASSERT_NE(window, nullptr);
        screenMetrics.paperWidth = 333;
        screenMetrics.paperHeight = 467;
        previewScale = 100;
        currentPage = 0;
        lastMovingRect = RECT{};
        RegDeleteTreeA(HKEY_CURRENT_USER, programKeyPath);
    }
    void TearDown() override {
        DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}  // the quit message
        clearLineList();
        releasePages();
        pageCount = 0;
        previewScale = 100;
        RegDeleteTreeA(HKEY_CURRENT_USER, programKeyPath);
    }

    void makePages(int count) {
        for (int i = 0; i < count; ++i) appendLineText(tail, 0, "page", 4);
        breakAllLines(80);
        paginate(1);
        ASSERT_EQ(pageCount, count);
    }
    // Sends a key and tells whether it asked for a repaint.
    bool keyRepaints(WPARAM key) {
        // A hidden window collects no update region.
        if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNOACTIVATE);
        ValidateRect(window, nullptr);
        SendMessageA(window, WM_KEYDOWN, key, 0);
        RECT update;
        return GetUpdateRect(window, &update, FALSE) != 0;
    }
    SIZE windowSize() {
        RECT r;
        GetWindowRect(window, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    DWORD storedScale() {
        DWORD value = 0, size = sizeof value;
        RegGetValueA(HKEY_CURRENT_USER, programKeyPath, "preview scale", RRF_RT_REG_DWORD, nullptr,
                     &value, &size);
        return value;
    }
    void wheel(WORD keys, short delta) {
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), 0);
    }
};

TEST_F(MainWindow, PageKeysMoveWithinTheDocumentAndRepaintOnlyOnChange) {
    makePages(3);
    EXPECT_FALSE(keyRepaints(VK_PRIOR));
    EXPECT_EQ(currentPage, 0);
    EXPECT_TRUE(keyRepaints(VK_NEXT));
    EXPECT_EQ(currentPage, 1);
    EXPECT_TRUE(keyRepaints(VK_END));
    EXPECT_EQ(currentPage, 2);
    EXPECT_FALSE(keyRepaints(VK_NEXT));
    EXPECT_EQ(currentPage, 2);
    EXPECT_TRUE(keyRepaints(VK_HOME));
    EXPECT_EQ(currentPage, 0);
    EXPECT_FALSE(keyRepaints(VK_LEFT));
}

TEST_F(MainWindow, WithoutADocumentEveryPageKeyStaysOnTheFirstPage) {
    for (WPARAM key : {VK_PRIOR, VK_NEXT, VK_HOME, VK_END}) {
        EXPECT_FALSE(keyRepaints(key)) << key;
        EXPECT_EQ(currentPage, 0) << key;
    }
}

TEST_F(MainWindow, WheelTurnsPagesAndShiftDoesNothing) {
    makePages(3);
    wheel(0, -120);
    EXPECT_EQ(currentPage, 1);
    wheel(0, -1);  // only the sign counts
    EXPECT_EQ(currentPage, 2);
    wheel(0, 240);
    EXPECT_EQ(currentPage, 1);
    wheel(MK_SHIFT, -120);
    wheel(MK_SHIFT | MK_CONTROL, -120);
    EXPECT_EQ(currentPage, 1);
    EXPECT_EQ(storedScale(), 0u);
}

TEST_F(MainWindow, ZoomResizesWithTruncationAndStoresTheScale) {
    SendMessageA(window, WM_COMMAND, IDM_ZOOM150, 0);
    EXPECT_EQ(windowSize().cx, 499);  // 499.5
    EXPECT_EQ(windowSize().cy, 700);  // 700.5
    EXPECT_EQ(storedScale(), 150u);
    SendMessageA(window, WM_COMMAND, IDM_ZOOM60, 0);
    EXPECT_EQ(windowSize().cx, 199);  // 199.8
    EXPECT_EQ(windowSize().cy, 280);  // 280.2
    EXPECT_EQ(storedScale(), 60u);
}

TEST_F(MainWindow, CtrlWheelStepsThroughTheZoomLevels) {
    struct {
        int32_t from;
        short delta;
        int32_t to;
    } steps[] = {{200, 120, 200}, {200, -120, 150}, {150, 120, 200}, {150, -120, 100},
                 {100, 120, 150}, {100, -120, 80},  {80, 120, 100},   {80, -120, 60},
                 {60, 120, 80},   {60, -120, 60},   {75, 120, 80},    {75, -120, 60}};
    for (auto& step : steps) {
        previewScale = step.from;
        RegDeleteTreeA(HKEY_CURRENT_USER, programKeyPath);
        wheel(MK_CONTROL, step.delta);
        EXPECT_EQ(previewScale, step.to) << step.from << " " << step.delta;
        // The command runs in full, even when the scale stays: it is stored again.
        EXPECT_EQ(storedScale(), DWORD(step.to)) << step.from << " " << step.delta;
    }
}

TEST_F(MainWindow, MovesKeepTheDraggedVerticalPosition) {
    SetWindowPos(window, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 0);  // never dragged
    RECT proposed = {10, 25, 110, 125};
    SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed));
    SetWindowPos(window, nullptr, 70, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 25);
}

TEST_F(MainWindow, ZoomMenuMarksTheScaleInForce) {
    HMENU zoom = GetSubMenu(GetSubMenu(popupMenu, 0), 8);
    ASSERT_NE(zoom, nullptr);
    previewScale = 80;
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(zoom), 8);
    EXPECT_TRUE(GetMenuState(zoom, IDM_ZOOM80, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(zoom, IDM_ZOOM100, MF_BYCOMMAND) & MF_CHECKED);
    previewScale = 75;  // no item for it: the marks stay as they are
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(zoom), 8);
    EXPECT_TRUE(GetMenuState(zoom, IDM_ZOOM80, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MainWindow, PrintWithoutPagesOpensNoDialog) {
    DialogWatcher watcher(IDCANCEL);
    SendMessageA(window, WM_COMMAND, IDM_PRINT, 0);
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(MainWindow, EscapeAndTheCloseCommandDestroyTheWindow) {
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(window));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    SetUp();
    SendMessageA(window, WM_COMMAND, IDM_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
}

std::string menuText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(Resources, ContextMenuItemsInOrder) {
    HMENU menu = LoadMenuA(appInstance, MAKEINTRESOURCEA(IDR_POPUP_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menuText(menu, 0), "ファイル(&F)");
    HMENU popup = GetSubMenu(menu, 0);
    struct {
        UINT position;
        UINT id;
        const char* text;
    } items[] = {
        {0, IDM_OPEN, "開く(&O)...\tCtrl+O"},      {1, IDM_PASTE, "貼り付け(&S)\tCtrl+V"},
        {2, IDM_FONT, "フォント(&F)..."},          {3, IDM_FORMAT, "書式設定(&R)..."},
        {5, IDM_PAGESETUP, "ページ設定(&U)..."},   {6, IDM_PRINT, "印刷(&P)...\tCtrl+P"},
        {10, IDM_ABOUT, "バージョン情報(&A)..."},  {12, IDM_CLOSE, "閉じる(&C)\tEsc"},
    };
    for (auto& item : items) {
        EXPECT_EQ(GetMenuItemID(popup, int(item.position)), item.id) << item.position;
        EXPECT_EQ(menuText(popup, item.position), item.text) << item.position;
    }
    for (UINT separator : {4u, 7u, 9u, 11u}) {
        EXPECT_TRUE(GetMenuState(popup, separator, MF_BYPOSITION) & MF_SEPARATOR) << separator;
    }
    EXPECT_EQ(menuText(popup, 8), "ズーム(&Z)");
    HMENU zoom = GetSubMenu(popup, 8);
    const char* zoomTexts[] = {"&200%", "1&50%", "&100%", "&80%", "&60%"};
    for (UINT i = 0; i < 5; ++i) {
        EXPECT_EQ(GetMenuItemID(zoom, int(i)), IDM_ZOOM200 + i);
        EXPECT_EQ(menuText(zoom, i), zoomTexts[i]);
    }
    DestroyMenu(menu);
}

TEST(Resources, AcceleratorsAreCtrlKeys) {
    HACCEL table = LoadAcceleratorsA(appInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    int count = CopyAcceleratorTableA(table, entries, 8);
    ASSERT_EQ(count, 4);
    struct {
        WORD key;
        WORD command;
    } expected[] = {{'M', IDM_POPUPMENU}, {'O', IDM_OPEN}, {'P', IDM_PRINT}, {'V', IDM_PASTE}};
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].command);
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FNOINVERT), FVIRTKEY | FCONTROL | FNOINVERT);
    }
    DestroyAcceleratorTable(table);
}

TEST(Resources, IconInThreeSizes) {
    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_PEMOPRINT),
                                                   IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap;
        GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
}

TEST(Resources, ProgressDialogHasOneCancelButton) {
    HWND dialog = CreateDialogA(appInstance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr,
                                [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; });
    ASSERT_NE(dialog, nullptr);
    char text[64] = "";
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "印刷中");
    GetDlgItemTextA(dialog, IDCANCEL, text, sizeof text);
    EXPECT_STREQ(text, "キャンセル");
    DestroyWindow(dialog);
}

}  // namespace
