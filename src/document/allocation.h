// Allocation used by the document engine, with a hook that tests use to make
// a chosen allocation fail (the engine must survive running out of memory).
#pragma once
#include <cstddef>

// When set and returning nonzero, the allocation it was asked about fails.
extern int (*allocationFailureHook)(void);

void* reallocateBytes(void* block, size_t size);
void releaseBytes(void* block);

// 1 when the hook makes the allocation it is asked about fail: also asked
// once for every record carved from the document's blocks.
inline int allocationRefused() {
    return allocationFailureHook && allocationFailureHook();
}
