// Loading a file into the document: the single way in for every source.
#pragma once
#include <windows.h>

#include "../filter/filterRunner.h"  // openInput: the file, or its filter's output

// Reads the file, or its filter's output, into the document: 1, or 0 when
// it could not be read whole.
int readFromPath(const wchar_t* path);
// The same with a wait cursor over a disabled window.
int readDocument(HWND window, const wchar_t* path);
void captureDateTime();
// Loads the file documentPathWide names (nameDocument) and lays it out.
int loadDocument(HWND window);
