#include "filterConsole.h"

namespace {

// A lock rather than a bare counter: a console freed by one thread must not
// cross an allocation made by the other.
SRWLOCK consoleLock = SRWLOCK_INIT;
CONDITION_VARIABLE consoleReleased = CONDITION_VARIABLE_INIT;
long consoleUsers = 0;
int consoleOwned = 0;  // only a console allocated here is freed here
HANDLE consoleError = nullptr;

struct ConsoleLock {
    ConsoleLock() { AcquireSRWLockExclusive(&consoleLock); }
    ~ConsoleLock() { ReleaseSRWLockExclusive(&consoleLock); }
};

}  // namespace

void acquireFilterConsole() {
    ConsoleLock lock;
    if (consoleUsers++ > 0) return;
    consoleOwned = AllocConsole() ? 1 : 0;
    consoleError = consoleOwned ? GetStdHandle(STD_ERROR_HANDLE) : nullptr;
}

void releaseFilterConsole() {
    ConsoleLock lock;
    if (--consoleUsers > 0) return;
    if (consoleOwned) FreeConsole();
    consoleOwned = 0;
    consoleError = nullptr;
    WakeAllConditionVariable(&consoleReleased);
}

HANDLE filterConsoleError() {
    ConsoleLock lock;
    return consoleError;
}

long filterConsoleUsers() {
    ConsoleLock lock;
    return consoleUsers;
}

int waitForFilterConsole(DWORD milliseconds) {
    ConsoleLock lock;
    ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (consoleUsers > 0) {
        ULONGLONG now = GetTickCount64();
        if (now >= deadline ||
            !SleepConditionVariableSRW(&consoleReleased, &consoleLock, DWORD(deadline - now), 0)) {
            break;
        }
    }
    return consoleUsers == 0;
}
