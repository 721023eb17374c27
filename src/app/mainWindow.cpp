#include "mainWindow.h"

#include "../document/documentLoader.h"
#include "../layout/pagination.h"
#include "../print/formatDialog.h"
#include "../print/pageMetrics.h"
#include "aboutBox.h"
#include "droppedFiles.h"
#include "openDialog.h"
#include "previewPainter.h"
#include "resource.h"
#include "appInstance.h"
#include "windowCommands.h"
#include "windowSizing.h"

HWND mainWindow = nullptr;
RECT lastMovingRect = {};

namespace {

LRESULT onCreate(HWND window) {
    popupMenu = LoadMenuA(appInstance, MAKEINTRESOURCEA(IDR_POPUP_MENU));
    prepareOpenDialog(window);
    captureDateTime();
    return 0;
}

void onDestroy() {
    if (popupMenu) DestroyMenu(popupMenu);
    popupMenu = nullptr;
    PostQuitMessage(0);
}

void showPage(HWND window, int32_t page) {
    if (page < 0) page = 0;
    if (page == currentPage) return;
    currentPage = page;
    InvalidateRect(window, nullptr, TRUE);
}

void onKeyDown(HWND window, WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        SendMessageA(window, WM_CLOSE, 0, 0);
        break;
    case VK_PRIOR:
        showPage(window, currentPage - 1);
        break;
    case VK_NEXT:
        showPage(window, currentPage + 1 < pageCount ? currentPage + 1 : pageCount - 1);
        break;
    case VK_HOME:
        showPage(window, 0);
        break;
    case VK_END:
        showPage(window, pageCount - 1);
        break;
    }
}

void onCommand(HWND window, WORD command) {
    switch (command) {
    case IDM_OPEN: openCommand(window); break;
    case IDM_FORMAT: formatCommand(window); break;
    case IDM_ABOUT: aboutCommand(window); break;
    case IDM_PASTE: pasteCommand(window); break;
    case IDM_PRINT: printCommand(window); break;
    case IDM_PAGESETUP: pageSetupCommand(window); break;
    case IDM_FONT: fontCommand(window); break;
    case IDM_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_ZOOM200: zoomCommand(window, 200); break;
    case IDM_ZOOM150: zoomCommand(window, 150); break;
    case IDM_ZOOM100: zoomCommand(window, 100); break;
    case IDM_ZOOM80: zoomCommand(window, 80); break;
    case IDM_ZOOM60: zoomCommand(window, 60); break;
    case IDM_POPUPMENU: contextMenuAtCorner(window); break;
    }
}

WORD zoomStepCommand(short delta) {
    bool away = delta >= 0;
    switch (previewScale) {
    case 200: return away ? IDM_ZOOM200 : IDM_ZOOM150;
    case 150: return away ? IDM_ZOOM200 : IDM_ZOOM100;
    case 100: return away ? IDM_ZOOM150 : IDM_ZOOM80;
    case 80: return away ? IDM_ZOOM100 : IDM_ZOOM60;
    default: return away ? IDM_ZOOM80 : IDM_ZOOM60;
    }
}

void onMouseWheel(HWND window, WPARAM wParam) {
    WORD keys = LOWORD(wParam);
    short delta = short(HIWORD(wParam));
    if (keys & MK_SHIFT) return;
    if (keys & MK_CONTROL) {
        SendMessageA(window, WM_COMMAND, zoomStepCommand(delta), 0);
    } else {
        SendMessageA(window, WM_KEYDOWN, delta >= 0 ? VK_PRIOR : VK_NEXT, 0);
    }
}

LRESULT onInitMenuPopup(HWND window, HMENU menu, UINT message, WPARAM wParam, LPARAM lParam) {
    HMENU zoomMenu = GetSubMenu(GetSubMenu(popupMenu, 0), 8);
    if (menu != zoomMenu || zoomRadioMark(menu)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_PAINT:
        paintPreview(window);
        return 0;
    case WM_WINDOWPOSCHANGING:
        // Only the drag decides the vertical position.
        reinterpret_cast<WINDOWPOS*>(lParam)->y = lastMovingRect.top;
        break;
    case WM_KEYDOWN:
        onKeyDown(window, wParam);
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        return onInitMenuPopup(window, reinterpret_cast<HMENU>(wParam), message, wParam, lParam);
    case WM_LBUTTONDOWN:
        // Pressing anywhere drags the whole sheet, as the caption would.
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        return 0;
    case WM_LBUTTONUP:
        SendMessageA(window, WM_NCLBUTTONUP, HTCAPTION, lParam);
        return 0;
    case WM_RBUTTONDOWN: {
        POINT cursor;
        GetCursorPos(&cursor);
        showContextMenu(window, cursor);
        return 0;
    }
    case WM_MOUSEWHEEL:
        onMouseWheel(window, wParam);
        return 0;
    case WM_MOVING:
        lastMovingRect = *reinterpret_cast<RECT*>(lParam);
        break;
    case WM_DPICHANGED:
        followDpiChange(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DROPFILES:
        dropFilesCommand(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
