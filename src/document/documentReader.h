// Turns a stream of bytes, read in 512-byte blocks, into the line list.
// The same scan serves a POSIX file natively and a Win32 handle (a file or a
// filter's pipe) in the program.
#pragma once

enum { READ_BLOCK_SIZE = 512 };

// One source of input blocks. read() gives 1 with *bytesRead set, a block
// shorter than asked for being the last, or 0 when the read failed.
struct BlockSource {
    int (*read)(void* context, char* buffer, int size, int* bytesRead);
    void* context;
};

// Clears the line list and reads the whole source into it. Gives 1, or 0
// when a read or an allocation failed (the lines built so far stay).
int readLines(const BlockSource* source);
