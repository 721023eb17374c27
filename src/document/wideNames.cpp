#include "wideNames.h"

#include <commdlg.h>

#include "../app/unicodeText.h"

wchar_t documentPathWide[PATH_BUFFER_SIZE];
wchar_t documentTitleWide[PATH_BUFFER_SIZE];

int nameDocument(const wchar_t* path) {
    int fits = lstrlenW(path) < PATH_BUFFER_SIZE;
    lstrcpynW(documentPathWide, fits ? path : L"", PATH_BUFFER_SIZE);
    return fits;
}

void takeDocumentNames() {
    // A failed lookup must not leave the previous document's title behind.
    documentTitleWide[0] = L'\0';
    GetFileTitleW(documentPathWide, documentTitleWide, PATH_BUFFER_SIZE);
    narrow(documentPathWide, documentPath, PATH_BUFFER_SIZE);
    narrow(documentTitleWide, documentTitle, PATH_BUFFER_SIZE);
}

void clearDocumentNames() {
    documentPathWide[0] = documentTitleWide[0] = L'\0';
    documentPath[0] = documentTitle[0] = '\0';
}
