#pragma once
#include <windows.h>

#include <cstdint>

// Sizes the window to one sheet at the preview scale, without moving it.
void fitWindowToPage(HWND window, UINT flags);

// The window's pixels per inch where the system tells them per window (it
// may lack the call), else 0.
int32_t windowDpi(HWND window);

// The window moved to a screen of other pixels per inch: the sheet is
// measured again and the window takes the system's place for it, at the
// same zoom.
void followDpiChange(HWND window, int32_t dpi, const RECT* suggested);
