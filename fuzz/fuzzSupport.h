// Pieces shared by the fuzz targets: an in-memory block source whose reads
// can be cut short or made to fail, an allocation counter that fails one
// chosen allocation, and a check that survives -DNDEBUG.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "document/allocation.h"
#include "document/documentReader.h"

#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                  \
        }                                                                             \
    } while (0)

// Reads from a byte buffer. Read k asks for sizes[k] bytes when given (the
// rest ask for a full block), and read failAt fails; failAtEnd makes the read
// that finds the data exhausted fail instead of giving 0 bytes, the way a
// pipe reports its end.
struct MemorySource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
    std::vector<int> sizes;
    int failAt = -1;
    bool failAtEnd = false;
    int reads = 0;

    static int read(void* context, char* buffer, int capacity, int* bytesRead) {
        MemorySource& source = *static_cast<MemorySource*>(context);
        int index = source.reads++;
        *bytesRead = 0;
        if (index == source.failAt) return 0;
        if (source.failAtEnd && source.position == source.size) return 0;
        size_t want = index < int(source.sizes.size()) ? size_t(source.sizes[size_t(index)])
                                                       : size_t(READ_BLOCK_SIZE);
        if (want > size_t(capacity)) want = size_t(capacity);
        size_t left = source.size - source.position;
        size_t n = want < left ? want : left;
        for (size_t i = 0; i < n; ++i) buffer[i] = char(source.data[source.position + i]);
        source.position += n;
        *bytesRead = int(n);
        return 1;
    }

    BlockSource blockSource() { return BlockSource{&MemorySource::read, this}; }
};

// Fails the allocation numbered failAt (counted from 0 after arm()), once.
struct AllocationFailure {
    static long counter;
    static long failAt;
    static bool fired;

    static int hook() {
        if (counter++ == failAt) {
            fired = true;
            return 1;
        }
        return 0;
    }
    static void arm(long index) {
        counter = 0;
        failAt = index;
        fired = false;
        allocationFailureHook = &AllocationFailure::hook;
    }
    static void disarm() { allocationFailureHook = nullptr; }
};

inline long AllocationFailure::counter = 0;
inline long AllocationFailure::failAt = -1;
inline bool AllocationFailure::fired = false;

// Consumes bytes from the front of the fuzz input; zeros once it runs out.
struct ByteReader {
    const uint8_t* data;
    size_t size;

    uint8_t take() {
        if (!size) return 0;
        --size;
        return *data++;
    }
    unsigned take16() {
        unsigned low = take();
        return low | unsigned(take()) << 8;
    }
};

// The code page 932 lead-byte ranges, written out here rather than taken from
// the engine so that the checks do not share its mistakes.
inline bool isCp932Lead(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
