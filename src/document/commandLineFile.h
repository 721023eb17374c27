// The document named on the command line, in its full long-name form.
#pragma once
#include <windows.h>

extern int printAtOnce;

DWORD getLongPathName(const char* shortPath, char* longPath, DWORD size);

// Loads the file the command line names. Gives 1 when it was loaded and
// "/p" asks to print it at once.
int loadCommandLineFile(HWND window, const char* commandLine);
