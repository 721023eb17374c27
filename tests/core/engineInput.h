// Input for the engine from memory, for the core tests and the fuzzer: reads
// of at most `chunk` bytes, read `failAt` (from 1) failing, and failing allocations.
#pragma once
#include <algorithm>
#include <string>

#include "document/allocation.h"
#include "document/documentReader.h"

struct MemorySource {
    std::string bytes;
    size_t chunk = READ_BLOCK_SIZE;
    int failAt = 0, reads = 0;
    size_t at = 0;
    static int read(void* context, char* buffer, int size, int* got) {
        MemorySource& s = *static_cast<MemorySource*>(context);
        if (++s.reads == s.failAt) return 0;
        *got = int(s.bytes.copy(buffer, std::min({size_t(size), s.chunk, s.bytes.size() - s.at}), s.at));
        s.at += size_t(*got);
        return 1;
    }
    int load() { BlockSource source{&MemorySource::read, this}; return readLines(&source); }
};

inline int allocationsSeen = 0, failingAllocation = 0;
// Fails allocation number n (from 1) from now on; 0 fails none but counts.
inline void failAllocation(int n) {
    allocationsSeen = 0, failingAllocation = n;
    allocationFailureHook = []() -> int { return ++allocationsSeen == failingAllocation; };
}
