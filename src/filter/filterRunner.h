// Opens a file for the loader: the file itself, or the output of the
// file's filter, which runs as a child process fed by a feeder thread.
#pragma once
#include <windows.h>

#include <cstdint>

// Handed to the feeder thread, which owns it and its handles once it runs.
struct FeedJob {
    HANDLE source;             // the file
    HANDLE sink;               // the filter's standard input, not inheritable
    HANDLE process;            // the filter
    int32_t consoleAllocated;  // the run holds a share of the filter console
};

// A readable handle, or INVALID_HANDLE_VALUE when the file cannot be opened
// or its filter cannot be run (nothing of the attempt is left behind).
HANDLE openInput(const char* path);

// Ends every filter that runs, and whatever they started: for the way out
// of the program while a filter may still be read.
void endAllFilters();

// The feeder thread: copies the file into the filter, waits for the filter
// to end and gives its console share back.
DWORD WINAPI feedFilter(void* job);
