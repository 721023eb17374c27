// The document named on the command line, in its full long-name form.
#pragma once
#include <windows.h>

extern int printAtOnce;

DWORD getLongPathName(const char* shortPath, char* longPath, DWORD size);

// Takes the file the command line names into documentPath, and "/p" into
// printAtOnce. Gives 1 when the command line names a file.
int takeCommandLineFile(const char* commandLine);
