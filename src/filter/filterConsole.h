// The one console of the process, shared by the filters that want one: it
// is allocated when the first of them starts and released when the last of
// them has ended, whichever thread ends it.
#pragma once
#include <windows.h>

void acquireFilterConsole();
void releaseFilterConsole();

// The standard error of the console allocated here, for a filter to write
// to; null when none was allocated here, or allocating it left the
// process's own standard handles in place.
HANDLE filterConsoleError();
