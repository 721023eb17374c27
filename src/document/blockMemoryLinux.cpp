#include <sys/mman.h>

#include <cstdlib>

#include "blockMemory.h"

void* allocateBlockMemory(size_t size) {
    if (size % HUGE_PAGE_BYTES != 0) return malloc(size);
    void* memory = aligned_alloc(HUGE_PAGE_BYTES, size);
    // Only advice: without transparent huge pages the block is used as it is.
    if (memory) madvise(memory, size, MADV_HUGEPAGE);
    return memory;
}

void releaseBlockMemory(void* memory) {
    free(memory);
}
