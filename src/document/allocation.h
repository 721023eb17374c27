// Allocation used by the document engine, with a hook that tests use to make
// a chosen allocation fail (the engine must survive running out of memory).
#pragma once
#include <cstddef>

void* allocateZeroed(size_t size);
void* allocateBytes(size_t size);
void* reallocateBytes(void* block, size_t size);
void releaseBytes(void* block);

// When set and returning nonzero, the allocation it was asked about fails.
extern int (*allocationFailureHook)(void);
