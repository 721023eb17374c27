#include "openDialog.h"

#include <commdlg.h>

#include <cstring>

#include "../document/documentLoader.h"
#include "../document/wideNames.h"
#include "../settings/registrySettings.h"
#include "resource.h"
#include "unicodeText.h"

namespace {

char openFilterList[OPEN_FILTER_LIST_SIZE];

OPENFILENAMEW openRecord;
// The list and the extension as the Unicode dialog takes them.
wchar_t wideFilterList[OPEN_FILTER_LIST_SIZE + 1];
wchar_t wideExtension[DEFAULT_EXTENSION_SIZE];

// Appends text and its terminator when they fit with the list's final NUL.
void appendToFilterList(size_t* used, const char* text) {
    size_t length = strlen(text) + 1;
    if (*used + length >= sizeof openFilterList) return;
    memcpy(openFilterList + *used, text, length);
    *used += length;
}

void appendString(size_t* used, UINT id) {
    wchar_t stored[OPEN_FILTER_LIST_SIZE];
    loadText(id, stored, OPEN_FILTER_LIST_SIZE);
    char text[OPEN_FILTER_LIST_SIZE];
    narrow(stored, text, sizeof text);
    appendToFilterList(used, text);
}

}  // namespace

void prepareOpenDialog(HWND owner) {
    memset(openFilterList, 0, sizeof openFilterList);
    size_t used = 0;
    if (openFilterPattern[0]) {
        appendString(&used, IDS_TEXT_FILES);
        appendToFilterList(&used, openFilterPattern);
    }
    appendString(&used, IDS_ALL_FILES);
    appendString(&used, IDS_ALL_PATTERN);

    widen(openFilterList, sizeof openFilterList, wideFilterList, OPEN_FILTER_LIST_SIZE + 1);
    widen(defaultExtension, wideExtension, DEFAULT_EXTENSION_SIZE);

    memset(&openRecord, 0, sizeof openRecord);
    openRecord.lStructSize = sizeof openRecord;
    openRecord.hwndOwner = owner;
    openRecord.lpstrFilter = wideFilterList;
    openRecord.nFilterIndex = 1;
    openRecord.nMaxFile = PATH_BUFFER_SIZE;
    openRecord.lpstrDefExt = wideExtension[0] ? wideExtension : nullptr;
}

bool chooseDocumentFile(HWND owner, wchar_t* path) {
    // The dialog writes into a buffer of its own: one that fails (a name too
    // long for it) leaves the size it needed in the first units, and the
    // path of the document on show must keep what it held.
    static wchar_t chosen[PATH_BUFFER_SIZE];
    lstrcpynW(chosen, path, PATH_BUFFER_SIZE);
    openRecord.hwndOwner = owner;
    openRecord.lpstrFile = chosen;
    openRecord.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&openRecord)) return false;
    lstrcpynW(path, chosen, PATH_BUFFER_SIZE);
    return true;
}

void openCommand(HWND window) {
    if (!chooseDocumentFile(window, documentPathWide)) return;
    loadDocument(window);
    InvalidateRect(window, nullptr, TRUE);
}
