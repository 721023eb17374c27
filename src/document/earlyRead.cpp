#include "earlyRead.h"

#include <windows.h>

#include "documentLoader.h"
#include "documentNames.h"

namespace {

HANDLE readThread = nullptr;
char readPath[PATH_BUFFER_SIZE];
int readResult = 0;
int resultWaiting = 0;

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
    if (!readThread) return;
    WaitForSingleObject(readThread, INFINITE);
    CloseHandle(readThread);
    readThread = nullptr;
    resultWaiting = 1;
}

int takeEarlyRead(const char* path, int* ok) {
    awaitEarlyRead();
    if (!resultWaiting) return 0;
    resultWaiting = 0;
    if (lstrcmpA(path, readPath) != 0) return 0;
    *ok = readResult;
    return 1;
}
