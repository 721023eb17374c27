#pragma once
#include <windows.h>

// Runs until WM_QUIT and gives its exit code; a queue that fails gives 1.
int runMessageLoop(HWND window, HACCEL accelerators);
