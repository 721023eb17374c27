// Loading a file into the document: the single way in for every source.
#pragma once
#include <windows.h>

HANDLE openInput(const char* path);
int readDocument(HWND window, const char* path);
void captureDateTime();
int loadDocument(HWND window);
