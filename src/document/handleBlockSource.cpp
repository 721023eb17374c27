#include "handleBlockSource.h"

#include "byteCopy.h"

static int readHandleBlock(void* context, char* block, int size, int* bytesRead) {
    HandleReader& reader = *static_cast<HandleReader*>(context);
    int total = 0;
    while (total < size) {
        if (reader.start == reader.end) {
            DWORD n = 0;
            if (!ReadFile(reader.handle, reader.buffer, sizeof reader.buffer, &n, nullptr)) {
                if (total == 0) return 0;
                break;  // what came before the failure is the last block
            }
            if (n == 0) break;
            reader.start = 0;
            reader.end = n;
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
    return BlockSource{readHandleBlock, reader};
}
