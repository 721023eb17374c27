#pragma once
#include <windows.h>

extern HWND mainWindow;
extern RECT lastMovingRect;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
