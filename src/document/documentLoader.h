// Loading a file into the document: the single way in for every source.
#pragma once
#include <windows.h>

#include "../filter/filterRunner.h"  // openInput: the file, or its filter's output

// Reads the file, or its filter's output, into the document: 1, or 0 when
// it could not be read whole.
int readFromPath(const char* path);
// The same with a wait cursor over a disabled window.
int readDocument(HWND window, const char* path);
void captureDateTime();
int loadDocument(HWND window);
