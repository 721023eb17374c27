#include "stdioBlockSource.h"

static int readStdioBlock(void* context, char* buffer, int size, int* bytesRead) {
    FILE* file = static_cast<FILE*>(context);
    size_t n = fread(buffer, 1, size_t(size), file);
    *bytesRead = int(n);
    // A read error anywhere in the block fails it: a short block would end the input.
    return !ferror(file);
}

BlockSource stdioBlockSource(FILE* file) {
    return BlockSource{readStdioBlock, file};
}

int readLinesFromPath(const char* path) {
    FILE* file = fopen(path, "rb");
    if (!file) return 0;
    // The loader asks for 512 bytes at a time; the system is asked for more.
    char ahead[64 * 1024];
    setvbuf(file, ahead, _IOFBF, sizeof ahead);
    BlockSource source = stdioBlockSource(file);
    int ok = readLines(&source);
    fclose(file);
    return ok;
}
