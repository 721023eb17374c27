// The format settings dialog: header, footer and line numbers on or off, and
// the six header and footer templates.
#pragma once
#include <windows.h>

INT_PTR CALLBACK formatDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog; on OK stores the settings and repaints the window.
void formatCommand(HWND window);
