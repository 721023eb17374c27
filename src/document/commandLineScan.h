// Picks the one file name and the "/p" switch out of the program's command
// line: a bare or quoted name, option words that start with "/". The same
// rules read code page 932 and UTF-8: the caller says which bytes start a
// character of more than one byte.
#pragma once
#include <cstdint>

struct CommandLineScan {
    int hasName;
    int32_t nameStart;  // index of the name's first byte
    int32_t nameEnd;    // index of its last byte; nameStart - 1 for an empty name
    int printAtOnce;
};

typedef int (*MultiByteStart)(unsigned char byte);

// Code page 932's lead bytes, and the bytes that start a UTF-8 sequence.
int startsCp932Character(unsigned char byte);
int startsUtf8Sequence(unsigned char byte);

CommandLineScan scanCommandLine(const char* commandLine, MultiByteStart startsMultiByte = startsCp932Character);

// The full command line past the program's own name and the blanks after it,
// as the start-up code hands WinMain its line: the name runs to the first
// blank (any byte up to a space) outside double quotes.
const char* skipProgramName(const char* commandLine);

// Copies first..last (both included) into buffer: at most size - 1 bytes and
// a NUL; empty when last lies before first.
void copyBounded(const char* first, const char* last, char* buffer, int32_t size);
