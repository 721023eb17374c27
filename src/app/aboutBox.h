#pragma once
#include <windows.h>

// The About box: the icon and the version line; OK, Esc and the close box end it.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void aboutCommand(HWND window);
