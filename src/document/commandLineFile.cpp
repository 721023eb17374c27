#include "commandLineFile.h"

#include "commandLineScan.h"
#include "wideNames.h"

int printAtOnce = 0;

namespace {

struct LibraryGuard {
    HMODULE module;
    ~LibraryGuard() {
        if (module) FreeLibrary(module);
    }
};

enum { COMMAND_LINE_UNITS = 32768 };

}  // namespace

DWORD getLongPathName(const wchar_t* shortPath, wchar_t* longPath, DWORD size) {
    // Looked up at run time: older systems lack the function.
    LibraryGuard kernel{LoadLibraryExA("Kernel32.dll", nullptr, 0)};
    if (!kernel.module) return 0;
    typedef DWORD(WINAPI * LongPathFunction)(LPCWSTR, LPWSTR, DWORD);
    LongPathFunction function = reinterpret_cast<LongPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel.module, "GetLongPathNameW")));
    if (!function) return 0;
    return function(shortPath, longPath, size);
}

int takeCommandLineFile(const wchar_t* commandLine) {
    printAtOnce = 0;
    if (!commandLine) return 0;
    // Scanned as UTF-8 by the rules the code page's line was scanned by: the
    // names stay whole, whatever code page 932 lacks.
    static char line[3 * COMMAND_LINE_UNITS];
    if (!WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line, sizeof line, nullptr, nullptr)) return 0;
    const char* arguments = skipProgramName(line);
    CommandLineScan scan = scanCommandLine(arguments, startsUtf8Sequence);
    printAtOnce = scan.printAtOnce;
    if (!scan.hasName) return 0;
    // A name too long for the path is left empty, not cut into another
    // file's name: its load fails with the message.
    char utf8Name[3 * PATH_BUFFER_SIZE + 1];
    copyBounded(arguments + scan.nameStart, arguments + scan.nameEnd, utf8Name, sizeof utf8Name);
    wchar_t name[PATH_BUFFER_SIZE] = L"";
    if (utf8Name[0] && !MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name, -1, name, PATH_BUFFER_SIZE)) name[0] = L'\0';

    wchar_t longName[PATH_BUFFER_SIZE];
    DWORD length = getLongPathName(name, longName, PATH_BUFFER_SIZE);
    if (length == 0 || length >= PATH_BUFFER_SIZE) lstrcpynW(longName, name, PATH_BUFFER_SIZE);
    wchar_t fullPath[PATH_BUFFER_SIZE];
    wchar_t* filePart = nullptr;
    DWORD fullLength = GetFullPathNameW(longName, PATH_BUFFER_SIZE, fullPath, &filePart);
    nameDocument(fullLength > 0 && fullLength < PATH_BUFFER_SIZE ? fullPath : name);
    return 1;
}
