// Where an input that reads as empty has ended, for the program's loader and
// for the converter alike.
#pragma once
#include <windows.h>

// A file ends where a read gives nothing. A pipe from Windows gives an empty
// read for an empty write and reports its end as ERROR_BROKEN_PIPE instead;
// a pipe from outside Windows (a Unix pipe under Wine) reads as empty at its
// end, and is found broken when looked into.
inline bool emptyReadEnds(HANDLE input, bool isPipe) {
    return !isPipe || !PeekNamedPipe(input, nullptr, 0, nullptr, nullptr, nullptr);
}
