#pragma once
#include <windows.h>

// GetMessageA, replaceable so that a test can make the queue fail.
extern BOOL(WINAPI* getMessage)(LPMSG, HWND, UINT, UINT);

// Runs until WM_QUIT and gives its exit code; a queue that fails gives 1.
int runMessageLoop(HWND window, HACCEL accelerators);
