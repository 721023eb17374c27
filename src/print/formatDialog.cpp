#include "formatDialog.h"

#include "../app/appInstance.h"
#include "../app/resource.h"
#include "../app/unicodeText.h"
#include "../layout/headerFooter.h"
#include "../settings/registrySettings.h"

namespace {

// The templates in the order of their edits, 1001 to 1006.
char* templateAt(int index) {
    HeaderFooterSettings& s = headerFooterSettings;
    char* templates[] = {s.headerLeft, s.headerCenter, s.headerRight,
                         s.footerLeft, s.footerCenter, s.footerRight};
    return templates[index];
}

void enableRow(HWND dialog, int firstEdit, BOOL enable) {
    for (int id = firstEdit; id < firstEdit + 3; ++id) EnableWindow(GetDlgItem(dialog, id), enable);
}

int isChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void fillDialog(HWND dialog) {
    const HeaderFooterSettings& s = headerFooterSettings;
    CheckDlgButton(dialog, IDC_PRINT_HEADER, s.printHeader ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_PRINT_FOOTER, s.printFooter ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_PRINT_LINE_NUMBER, s.printLineNumber ? BST_CHECKED : BST_UNCHECKED);
    for (int i = 0; i < 6; ++i) {
        wchar_t text[TEMPLATE_SIZE];
        widen(templateAt(i), text, TEMPLATE_SIZE);
        SetDlgItemTextW(dialog, IDC_HEADER_LEFT + i, text);
    }
    enableRow(dialog, IDC_HEADER_LEFT, s.printHeader != 0);
    enableRow(dialog, IDC_FOOTER_LEFT, s.printFooter != 0);
}

void readDialog(HWND dialog) {
    HeaderFooterSettings& s = headerFooterSettings;
    s.printHeader = isChecked(dialog, IDC_PRINT_HEADER);
    s.printFooter = isChecked(dialog, IDC_PRINT_FOOTER);
    s.printLineNumber = isChecked(dialog, IDC_PRINT_LINE_NUMBER);
    for (int i = 0; i < 6; ++i) {
        // Cut at a whole character: a cut lead byte would print as garbage.
        wchar_t text[2 * TEMPLATE_SIZE];
        GetDlgItemTextW(dialog, IDC_HEADER_LEFT + i, text, 2 * TEMPLATE_SIZE);
        narrow(text, templateAt(i), TEMPLATE_SIZE);
    }
}

}  // namespace

INT_PTR CALLBACK formatDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        fillDialog(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        readDialog(dialog);
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_PRINT_HEADER:
        enableRow(dialog, IDC_HEADER_LEFT, isChecked(dialog, IDC_PRINT_HEADER));
        return TRUE;
    case IDC_PRINT_FOOTER:
        enableRow(dialog, IDC_FOOTER_LEFT, isChecked(dialog, IDC_PRINT_FOOTER));
        return TRUE;
    }
    return FALSE;
}

void formatCommand(HWND window) {
    if (DialogBoxParamW(appInstance, MAKEINTRESOURCEW(IDD_FORMAT), window, formatDialogProc, 0) <= 0) return;
    if (!saveFormatSettings()) reportUnsavedSettings(window);
    InvalidateRect(window, nullptr, TRUE);
}
