#include <windows.h>

#include <cstdlib>

#include "blockMemory.h"

// Large pages need a privilege that a user's program does not hold: blocks
// come from the heap. A block of whole huge pages is locked and unlocked at
// once, which maps all its pages in one call instead of one fault per page
// as it fills; where the lock is refused (above the working-set quota) the
// block fills page by page as any memory does.
void* allocateBlockMemory(size_t size) {
    void* memory = malloc(size);
    if (memory && size % HUGE_PAGE_BYTES == 0 && VirtualLock(memory, size)) {
        VirtualUnlock(memory, size);
    }
    return memory;
}

void releaseBlockMemory(void* memory) {
    free(memory);
}
