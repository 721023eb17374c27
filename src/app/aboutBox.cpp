#include "aboutBox.h"

#include "appInstance.h"
#include "resource.h"

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void aboutCommand(HWND window) {
    DialogBoxParamW(appInstance, MAKEINTRESOURCEW(IDD_ABOUT), window, aboutDialogProc, 0);
}
