#include "handleBlockSource.h"

static int readHandleBlock(void* context, char* buffer, int size, int* bytesRead) {
    HANDLE handle = *static_cast<HANDLE*>(context);
    int total = 0;
    while (total < size) {
        DWORD n = 0;
        if (!ReadFile(handle, buffer + total, DWORD(size - total), &n, nullptr)) {
            if (total == 0) return 0;
            break;  // what came before the failure is the last block
        }
        if (n == 0) break;
        total += int(n);
    }
    *bytesRead = total;
    return 1;
}

BlockSource handleBlockSource(HANDLE* handle) {
    return BlockSource{readHandleBlock, handle};
}
