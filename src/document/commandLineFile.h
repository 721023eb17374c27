// The document named on the command line, in its full long-name form.
#pragma once
#include <windows.h>

extern int printAtOnce;

DWORD getLongPathName(const wchar_t* shortPath, wchar_t* longPath, DWORD size);

// Takes the file that the program's whole command line (the program's own
// name first, as GetCommandLineW gives it) names into documentPathWide, and
// "/p" into printAtOnce. Gives 1 when the command line names a file.
int takeCommandLineFile(const wchar_t* commandLine);
