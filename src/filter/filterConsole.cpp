#include "filterConsole.h"

namespace {

// A lock rather than a bare counter: a console freed by one thread must not
// cross an allocation made by the other.
SRWLOCK consoleLock = SRWLOCK_INIT;
int consoleOwned = 0;  // only a console allocated here is freed here
HANDLE consoleHandles[3] = {};  // the standard handles allocating it made, ours to close
long filterConsoleUsers = 0;  // the filters that hold the console now
const DWORD STANDARD[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};

struct ConsoleLock {
    ConsoleLock() { AcquireSRWLockExclusive(&consoleLock); }
    ~ConsoleLock() { ReleaseSRWLockExclusive(&consoleLock); }
};

// The process's standard handles, put back on the way out: allocating a
// console points them at it.
struct StandardHandles {
    HANDLE own[3] = {GetStdHandle(STANDARD[0]), GetStdHandle(STANDARD[1]), GetStdHandle(STANDARD[2])};
    ~StandardHandles() {
        for (int i = 0; i < 3; ++i) SetStdHandle(STANDARD[i], own[i]);
    }
};

// Wine's FreeConsole closes what the standard handles hold when it runs, as
// if they were still the console's: ours must not be there then.
void freeOwnedConsole() {
    StandardHandles saved;
    for (int i = 0; i < 3; ++i) {
        if (consoleHandles[i]) CloseHandle(consoleHandles[i]);
        consoleHandles[i] = nullptr;
        SetStdHandle(STANDARD[i], nullptr);
    }
    FreeConsole();
}

}  // namespace

void acquireFilterConsole() {
    ConsoleLock lock;
    if (filterConsoleUsers++ > 0) return;
    StandardHandles saved;
    consoleOwned = AllocConsole() ? 1 : 0;
    // Started with handles of its own, the process keeps them under Wine.
    for (int i = 0; i < 3; ++i) {
        HANDLE given = GetStdHandle(STANDARD[i]);
        consoleHandles[i] = consoleOwned && given != saved.own[i] ? given : nullptr;
    }
}

void releaseFilterConsole() {
    ConsoleLock lock;
    if (--filterConsoleUsers > 0) return;
    if (consoleOwned) freeOwnedConsole();
    consoleOwned = 0;
}

HANDLE filterConsoleError() {
    ConsoleLock lock;
    return consoleHandles[2];
}
