#include "handleBlockSource.h"

#include "../filter/filterRunner.h"
#include "byteCopy.h"
#include "pipeEnd.h"

// Set once, for the way out: every read and wait from then on fails.
static HANDLE readsCancelled() {
    static HANDLE cancelled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return cancelled;
}

void cancelReads() {
    SetEvent(readsCancelled());
}

static bool cancelled() {
    return WaitForSingleObject(readsCancelled(), 0) == WAIT_OBJECT_0;
}

// Whether the ended output of a pipe is the whole text. A filter's is when
// its run ended well: one that crashed or could not read the file has
// failed, and one that wrote nothing has failed unless it took the whole
// file and ended with 0 (an empty text). A bare pipe that gave nothing has
// failed.
static int pipeOutputComplete(const HandleReader& reader) {
    if (!reader.feeder) return reader.anyBytes;
    HANDLE waits[2] = {reader.feeder, readsCancelled()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) return 0;
    DWORD outcome = FILTER_FAILED;
    GetExitCodeThread(reader.feeder, &outcome);
    return outcome == FILTER_ENDED_CLEAN || (outcome == FILTER_ENDED && reader.anyBytes);
}

// Fills the read-ahead buffer; 0 when the input failed. A pipe ends only
// when its writer has closed it; any other failed read is a failure, so
// that nothing is cut off without a word.
static int readAhead(HandleReader& reader) {
    DWORD n = 0;
    while (!reader.ended && n == 0) {
        if (cancelled()) return 0;
        if (!ReadFile(reader.handle, reader.buffer, sizeof reader.buffer, &n, nullptr)) {
            if (!reader.isPipe || GetLastError() != ERROR_BROKEN_PIPE) return 0;
            reader.ended = 1;
        } else if (n == 0 && emptyReadEnds(reader.handle, reader.isPipe)) {
            reader.ended = 1;
        }
        if (reader.ended && reader.isPipe && !pipeOutputComplete(reader)) return 0;
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
