#pragma once
#include <windows.h>

// Paints the page on display: the printable-area frame, the dotted text-area
// outline and the page itself, at the preview scale.
void paintPreview(HWND window);
