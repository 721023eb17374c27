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

// How a filter run ended, given as the feeder thread's exit code once the
// filter has ended.
enum FilterOutcome : DWORD {
    FILTER_FAILED = 1,   // the file could not be read, or the filter crashed
    FILTER_ENDED,        // it ended otherwise: what it wrote is the text
    FILTER_ENDED_CLEAN,  // it took the whole file and ended with 0
};

// A readable handle, or INVALID_HANDLE_VALUE when the file cannot be opened
// or its filter cannot be run (nothing of the attempt is left behind). For a
// filter's output, *feeder is its feeder thread, which the caller closes;
// otherwise null.
HANDLE openInput(const wchar_t* path, HANDLE* feeder);

// Ends every filter that runs, and whatever they started: for the way out
// of the program while a filter may still be read.
void endAllFilters();

// The feeder thread: copies the file into the filter, waits for the filter
// to end, gives its console share back and ends with the FilterOutcome.
DWORD WINAPI feedFilter(void* job);
