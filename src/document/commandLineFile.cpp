#include "commandLineFile.h"

#include "commandLineScan.h"
#include "documentNames.h"

int printAtOnce = 0;

namespace {

struct LibraryGuard {
    HMODULE module;
    ~LibraryGuard() {
        if (module) FreeLibrary(module);
    }
};

}  // namespace

DWORD getLongPathName(const char* shortPath, char* longPath, DWORD size) {
    // Looked up at run time: older systems lack the function.
    LibraryGuard kernel{LoadLibraryExA("Kernel32.dll", nullptr, 0)};
    if (!kernel.module) return 0;
    typedef DWORD(WINAPI * LongPathFunction)(LPCSTR, LPSTR, DWORD);
    LongPathFunction function = reinterpret_cast<LongPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel.module, "GetLongPathNameA")));
    if (!function) return 0;
    return function(shortPath, longPath, size);
}

int takeCommandLineFile(const char* commandLine) {
    printAtOnce = 0;
    if (!commandLine || !commandLine[0]) return 0;
    CommandLineScan scan = scanCommandLine(commandLine);
    printAtOnce = scan.printAtOnce;
    if (!scan.hasName) return 0;
    if (scan.nameEnd < scan.nameStart) {
        documentPath[0] = '\0';  // "" names nothing; its load fails with the message
    } else {
        copyBounded(commandLine + scan.nameStart, commandLine + scan.nameEnd, documentPath,
                    PATH_BUFFER_SIZE);
    }

    char longName[PATH_BUFFER_SIZE];
    DWORD length = getLongPathName(documentPath, longName, PATH_BUFFER_SIZE);
    if (length == 0 || length >= PATH_BUFFER_SIZE) lstrcpynA(longName, documentPath, PATH_BUFFER_SIZE);
    char fullPath[PATH_BUFFER_SIZE];
    char* filePart = nullptr;
    DWORD fullLength = GetFullPathNameA(longName, PATH_BUFFER_SIZE, fullPath, &filePart);
    if (fullLength > 0 && fullLength < PATH_BUFFER_SIZE) lstrcpynA(documentPath, fullPath, PATH_BUFFER_SIZE);
    return 1;
}
