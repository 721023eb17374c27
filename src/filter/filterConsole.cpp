#include "filterConsole.h"

namespace {

// A lock rather than a bare counter: a console freed by one thread must not
// cross an allocation made by the other.
SRWLOCK consoleLock = SRWLOCK_INIT;
int consoleOwned = 0;  // only a console allocated here is freed here
HANDLE consoleError = nullptr;
long filterConsoleUsers = 0;  // the filters that hold the console now

struct ConsoleLock {
    ConsoleLock() { AcquireSRWLockExclusive(&consoleLock); }
    ~ConsoleLock() { ReleaseSRWLockExclusive(&consoleLock); }
};

}  // namespace

void acquireFilterConsole() {
    ConsoleLock lock;
    if (filterConsoleUsers++ > 0) return;
    consoleOwned = AllocConsole() ? 1 : 0;
    consoleError = consoleOwned ? GetStdHandle(STD_ERROR_HANDLE) : nullptr;
}

void releaseFilterConsole() {
    ConsoleLock lock;
    if (--filterConsoleUsers > 0) return;
    if (consoleOwned) FreeConsole();
    consoleOwned = 0;
    consoleError = nullptr;
}

HANDLE filterConsoleError() {
    ConsoleLock lock;
    return consoleError;
}
