#include "earlyRead.h"

#include <windows.h>

#include <cwchar>

#include "../filter/filterConfig.h"
#include "../filter/filterRules.h"
#include "../filter/filterRunner.h"
#include "documentLoader.h"
#include "documentNames.h"
#include "handleBlockSource.h"

namespace {

HANDLE readThread = nullptr;  // until its read is taken
wchar_t readPath[PATH_BUFFER_SIZE];
int readResult = 0;

DWORD WINAPI readOnThread(void*) {
    readResult = readFromPath(readPath);
    return 0;
}

}  // namespace

void startEarlyRead(const wchar_t* path) {
    // A filter with a console would show it before the program knows that
    // it has a printer to print on: such a file is read at its load.
    char command[FILTER_COMMAND_SIZE] = "";
    if (findFilterFor(path, command, sizeof command) > 0 && command[0]) return;
    lstrcpynW(readPath, path, PATH_BUFFER_SIZE);
    readThread = CreateThread(nullptr, 0, readOnThread, nullptr, 0, nullptr);
}

void awaitEarlyRead() {
    if (readThread) WaitForSingleObject(readThread, INFINITE);
}

void abandonEarlyRead() {
    if (!readThread) return;
    cancelReads();
    endAllFilters();
    // A read that still has not ended then ends with the process.
    WaitForSingleObject(readThread, 1000);
    CloseHandle(readThread);
    readThread = nullptr;
}

int takeEarlyRead(const wchar_t* path, int* ok) {
    if (!readThread) return 0;
    awaitEarlyRead();
    CloseHandle(readThread);
    readThread = nullptr;
    if (wcscmp(path, readPath) != 0) return 0;
    *ok = readResult;
    return 1;
}
