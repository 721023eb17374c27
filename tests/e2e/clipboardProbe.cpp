// Prints what Wine's clipboard holds, for the journeys to wait on after they
// put something on the X clipboard: "files N" for a file list, or its text.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

int main() {
    if (!OpenClipboard(nullptr)) return 1;
    if (HANDLE list = GetClipboardData(CF_HDROP)) {
        printf("files %u", DragQueryFileW(static_cast<HDROP>(list), 0xFFFFFFFF, nullptr, 0));
    } else if (HANDLE text = GetClipboardData(CF_UNICODETEXT)) {
        char utf8[4096] = "";
        WideCharToMultiByte(CP_UTF8, 0, static_cast<wchar_t*>(GlobalLock(text)), -1, utf8, sizeof utf8, nullptr, nullptr);
        GlobalUnlock(text);
        fputs(utf8, stdout);
    }
    CloseClipboard();
    return 0;
}
