#include "earlyRead.h"

#include <windows.h>

#include "documentLoader.h"
#include "documentNames.h"

namespace {

HANDLE readThread = nullptr;  // until its read is taken
char readPath[PATH_BUFFER_SIZE];
int readResult = 0;

DWORD WINAPI readOnThread(void*) {
    readResult = readFromPath(readPath);
    return 0;
}

}  // namespace

void startEarlyRead(const char* path) {
    lstrcpynA(readPath, path, sizeof readPath);
    readThread = CreateThread(nullptr, 0, readOnThread, nullptr, 0, nullptr);
}

void awaitEarlyRead() {
    if (readThread) WaitForSingleObject(readThread, INFINITE);
}

int takeEarlyRead(const char* path, int* ok) {
    if (!readThread) return 0;
    awaitEarlyRead();
    CloseHandle(readThread);
    readThread = nullptr;
    if (lstrcmpA(path, readPath) != 0) return 0;
    *ok = readResult;
    return 1;
}
