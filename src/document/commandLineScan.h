// Picks the one file name and the "/p" switch out of the program's command
// line: a bare or quoted name, option words that start with "/".
#pragma once
#include <cstdint>

struct CommandLineScan {
    int hasName;
    int32_t nameStart;  // index of the name's first byte
    int32_t nameEnd;    // index of its last byte; nameStart - 1 for an empty name
    int printAtOnce;
};

CommandLineScan scanCommandLine(const char* commandLine);

// Copies first..last (both included) into buffer: at most size - 1 bytes and
// a NUL; empty when last lies before first. Gives 1.
int copyBounded(const char* first, const char* last, char* buffer, int32_t size);
