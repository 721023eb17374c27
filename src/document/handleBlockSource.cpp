#include "handleBlockSource.h"

#include "byteCopy.h"
#include "pipeEnd.h"

static volatile LONG readsCancelled = 0;

void cancelReads() {
    InterlockedExchange(&readsCancelled, 1);
}

// Fills the read-ahead buffer; 0 when the input failed. A pipe ends only
// when its writer has closed it, after writing something (a filter that
// writes nothing has failed); any other failed read is a failure, so that
// nothing is cut off without a word.
static int readAhead(HandleReader& reader) {
    DWORD n = 0;
    while (!reader.ended && n == 0) {
        if (readsCancelled) return 0;
        if (!ReadFile(reader.handle, reader.buffer, sizeof reader.buffer, &n, nullptr)) {
            if (!reader.isPipe || GetLastError() != ERROR_BROKEN_PIPE) return 0;
            reader.ended = 1;
        } else if (n == 0 && emptyReadEnds(reader.handle, reader.isPipe)) {
            reader.ended = 1;
        }
        if (reader.ended && reader.isPipe && !reader.anyBytes) return 0;
    }
    reader.start = 0;
    reader.end = n;
    reader.anyBytes |= n > 0;
    return 1;
}

static int readHandleBlock(void* context, char* block, int size, int* bytesRead) {
    HandleReader& reader = *static_cast<HandleReader*>(context);
    int total = 0;
    while (total < size) {
        if (reader.start == reader.end) {
            if (!readAhead(reader)) return 0;
            if (reader.ended) break;
        }
        DWORD count = reader.end - reader.start;
        if (count > DWORD(size - total)) count = DWORD(size - total);
        copyBytes(block + total, reader.buffer + reader.start, count);
        reader.start += count;
        total += int(count);
    }
    *bytesRead = total;
    return 1;
}

BlockSource handleBlockSource(HandleReader* reader) {
    reader->start = 0;
    reader->end = 0;
    reader->isPipe = GetFileType(reader->handle) == FILE_TYPE_PIPE;
    reader->ended = 0;
    reader->anyBytes = 0;
    return BlockSource{readHandleBlock, reader};
}
