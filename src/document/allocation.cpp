#include "allocation.h"

#include <cstdlib>

int (*allocationFailureHook)(void) = nullptr;

void* reallocateBytes(void* block, size_t size) {
    if (allocationRefused()) return nullptr;
    return realloc(block, size);
}

void releaseBytes(void* block) {
    free(block);
}
