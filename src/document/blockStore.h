// Large blocks from which the document carves its line records, texts and
// row tables: one heap allocation serves thousands of lines, and a whole
// document goes back in a few frees when the next load replaces it.
#pragma once
#include <cstddef>

#include "allocation.h"

#if defined(__SANITIZE_ADDRESS__)
#define PEMO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PEMO_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef PEMO_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

struct StoreBlock {
    StoreBlock* prev;
    StoreBlock* next;
    size_t size;  // bytes after the header
    size_t used;
};

struct BlockStore {
    StoreBlock* first;
    StoreBlock* current;  // carving happens here; blocks after it are spare
    size_t bytesHeld;     // every block with its header
};

// Under AddressSanitizer the unused part of every block is out of bounds, as
// the space past a heap allocation would be.
inline void hideBytes(char* bytes, size_t size) {
#ifdef PEMO_ADDRESS_SANITIZER
    ASAN_POISON_MEMORY_REGION(bytes, size);
#else
    (void)bytes;
    (void)size;
#endif
}

inline void showBytes(char* bytes, size_t size) {
#ifdef PEMO_ADDRESS_SANITIZER
    ASAN_UNPOISON_MEMORY_REGION(bytes, size);
#else
    (void)bytes;
    (void)size;
#endif
}

// carveBytes once the current block has no room: from the next block.
void* carveFromNextBlock(BlockStore* store, size_t size);

// size bytes at `alignment` (a power of two, at most 16), or null when the
// allocation failure hook refuses or no block can be had. Each carve counts
// as one allocation for the hook. Loading carves two records a line, so the
// common case is written out here.
inline void* carveBytes(BlockStore* store, size_t size, size_t alignment) {
    if (allocationRefused()) return nullptr;
    StoreBlock* block = store->current;
    if (!block) return carveFromNextBlock(store, size);
    size_t at = (block->used + alignment - 1) & ~(alignment - 1);
    if (at > block->size || block->size - at < size) return carveFromNextBlock(store, size);
    block->used = at + size;
    char* bytes = reinterpret_cast<char*>(block + 1) + at;
    showBytes(bytes, size);
    return bytes;
}

// Grows the carve at `record` from oldSize to newSize bytes and gives its
// address: in place when it is the latest carve and its block has room,
// otherwise as a new carve with the old bytes copied. Null (the old carve
// untouched) when the hook refuses or no block can be had.
void* growCarve(BlockStore* store, void* record, size_t oldSize, size_t newSize,
                size_t alignment);

// Gives the space back when `record` is the latest carve; otherwise it stays
// unused until the store is restarted or released.
void giveBackCarve(BlockStore* store, void* record, size_t size);

// Empties every block for a new round of carving, keeping them.
void restartStore(BlockStore* store);

// Frees the blocks that the round since the restart did not reach.
void trimStore(BlockStore* store);

void releaseStore(BlockStore* store);
