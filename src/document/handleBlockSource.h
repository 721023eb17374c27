#pragma once
#include <windows.h>

#include "documentReader.h"

// Reads blocks from a file or pipe handle. A block is filled as far as the
// handle gives bytes, so a pipe that delivers in small pieces is not taken
// to have ended early. The handle is read 64 KB at a time underneath: a
// large file then takes a few hundred reads instead of one per block.
struct HandleReader {
    HANDLE handle;
    HANDLE feeder;  // of a filter's output: the run's feeder thread, else null
    DWORD start;  // the bytes read ahead and not yet handed out
    DWORD end;
    int isPipe;
    int ended;
    int anyBytes;
    char buffer[64 * 1024];
};

// Starts reading reader->handle (and reader->feeder) from its current position.
BlockSource handleBlockSource(HandleReader* reader);

// Every read from now on fails: for the way out while a file is still read.
void cancelReads();
