// Puts text or a file list on Wine's clipboard, as another program would:
//   clipboardHelper text TEXT  |  clipboardHelper files NAME...
// A file list is a CF_HDROP block with UTF-16 names.
#include <windows.h>
#include <shlobj.h>

#include <cwchar>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) return 2;
    bool files = !wcscmp(argv[1], L"files");
    size_t size = (files ? sizeof(DROPFILES) : 0) + sizeof(wchar_t);  // the final NUL
    for (int i = 2; i < argc; ++i) size += (wcslen(argv[i]) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    char* bytes = static_cast<char*>(GlobalLock(block));
    wchar_t* at = reinterpret_cast<wchar_t*>(bytes + (files ? sizeof(DROPFILES) : 0));
    if (files) {
        reinterpret_cast<DROPFILES*>(bytes)->pFiles = sizeof(DROPFILES);
        reinterpret_cast<DROPFILES*>(bytes)->fWide = TRUE;
    }
    for (int i = 2; i < argc; ++i, at += wcslen(at) + 1) wcscpy(at, argv[i]);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    SetClipboardData(files ? CF_HDROP : CF_UNICODETEXT, block);
    CloseClipboard();
    return 0;
}
