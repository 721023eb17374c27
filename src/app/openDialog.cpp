#include "openDialog.h"

#include <commdlg.h>

#include <cstring>

#include "../document/documentLoader.h"
#include "../document/documentNames.h"
#include "../settings/registrySettings.h"
#include "appInstance.h"
#include "resource.h"

char openFilterList[OPEN_FILTER_LIST_SIZE];

namespace {

OPENFILENAMEA openRecord;

// Appends text and its terminator when they fit with the list's final NUL.
void appendToFilterList(size_t* used, const char* text) {
    size_t length = strlen(text) + 1;
    if (*used + length >= sizeof openFilterList) return;
    memcpy(openFilterList + *used, text, length);
    *used += length;
}

void appendString(size_t* used, UINT id) {
    char text[OPEN_FILTER_LIST_SIZE] = "";
    LoadStringA(appInstance, id, text, sizeof text);
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

    memset(&openRecord, 0, sizeof openRecord);
    openRecord.lStructSize = sizeof openRecord;
    openRecord.hwndOwner = owner;
    openRecord.lpstrFilter = openFilterList;
    openRecord.nFilterIndex = 1;
    openRecord.nMaxFile = PATH_BUFFER_SIZE;
    openRecord.lpstrDefExt = defaultExtension[0] ? defaultExtension : nullptr;
}

bool chooseDocumentFile(HWND owner, char* path, char* title) {
    // The dialog writes into a buffer of its own: one that fails (a name too
    // long for it) leaves the size it needed in the first bytes, and the
    // path of the document on show must keep what it held.
    static char chosen[PATH_BUFFER_SIZE];
    lstrcpynA(chosen, path, sizeof chosen);
    openRecord.hwndOwner = owner;
    openRecord.lpstrFile = chosen;
    openRecord.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&openRecord)) return false;
    lstrcpynA(path, chosen, PATH_BUFFER_SIZE);
    GetFileTitleA(path, title, PATH_BUFFER_SIZE);
    return true;
}

void openCommand(HWND window) {
    if (!chooseDocumentFile(window, documentPath, documentTitle)) return;
    loadDocument(window);
    InvalidateRect(window, nullptr, TRUE);
}
