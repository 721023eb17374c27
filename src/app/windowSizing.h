#pragma once
#include <windows.h>

// Sizes the window to one sheet at the preview scale, without moving it.
void fitWindowToPage(HWND window, UINT flags);
