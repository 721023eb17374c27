// Loading a file into the document: the single way in for every source.
#pragma once
#include <windows.h>

#include "../filter/filterRunner.h"  // openInput: the file, or its filter's output

int readDocument(HWND window, const char* path);
void captureDateTime();
int loadDocument(HWND window);
