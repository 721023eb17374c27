#pragma once
#include <windows.h>

extern HWND mainWindow;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
