#include <cstdlib>

#include "blockMemory.h"

// Large pages need a privilege that a user's program does not hold: blocks
// come from the heap.
void* allocateBlockMemory(size_t size) {
    return malloc(size);
}

void releaseBlockMemory(void* memory) {
    free(memory);
}
