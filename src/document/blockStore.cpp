#include "blockStore.h"

#include <cstdint>
#include <cstring>

#include "allocation.h"
#include "blockMemory.h"

static_assert(sizeof(StoreBlock) % 16 == 0, "the bytes after the header stay aligned");

namespace {

// Blocks, headers included, double from the first size to one huge page, so
// that a short document stays small and a long one needs few page faults.
const size_t firstBlockBytes = 16 * 1024;
const size_t largestBlockBytes = HUGE_PAGE_BYTES;

char* dataOf(StoreBlock* block) {
    return reinterpret_cast<char*>(block + 1);
}

int isLatestCarve(StoreBlock* block, const char* bytes, size_t size) {
    return block && size <= block->used && bytes == dataOf(block) + block->used - size;
}

void freeBlock(BlockStore* store, StoreBlock* block) {
    if (block->prev) block->prev->next = block->next;
    else store->first = block->next;
    if (block->next) block->next->prev = block->prev;
    if (store->current == block) store->current = block->prev;
    store->bytesHeld -= sizeof(StoreBlock) + block->size;
    showBytes(dataOf(block), block->size);
    releaseBlockMemory(block);
}

// The block after the current one that can take `need` bytes: a spare one
// when it is large enough, else a new one (twice the need for a record that
// is likely to grow further, such as the text of a very long line).
StoreBlock* advanceBlock(BlockStore* store, size_t need) {
    StoreBlock* spare = store->current ? store->current->next : store->first;
    if (spare && spare->size >= need) {
        spare->used = 0;
        store->current = spare;
        return spare;
    }
    if (need > SIZE_MAX / 4 - HUGE_PAGE_BYTES) return nullptr;
    size_t bytes = store->bytesHeld < firstBlockBytes     ? firstBlockBytes
                   : store->bytesHeld < largestBlockBytes ? store->bytesHeld
                                                          : largestBlockBytes;
    size_t wanted = sizeof(StoreBlock) + 2 * need;
    if (bytes < wanted) bytes = (wanted + HUGE_PAGE_BYTES - 1) / HUGE_PAGE_BYTES * HUGE_PAGE_BYTES;
    StoreBlock* block = static_cast<StoreBlock*>(allocateBlockMemory(bytes));
    if (!block) return nullptr;
    size_t size = bytes - sizeof(StoreBlock);
    block->size = size;
    block->used = 0;
    block->prev = store->current;
    block->next = spare;
    if (store->current) store->current->next = block;
    else store->first = block;
    if (spare) spare->prev = block;
    store->current = block;
    store->bytesHeld += sizeof(StoreBlock) + size;
    hideBytes(dataOf(block), size);
    return block;
}

char* carveWithoutAsking(BlockStore* store, size_t size, size_t alignment) {
    StoreBlock* block = store->current;
    size_t at = block ? (block->used + alignment - 1) & ~(alignment - 1) : 0;
    if (!block || at > block->size || block->size - at < size) {
        block = advanceBlock(store, size);
        if (!block) return nullptr;
        at = 0;
    }
    block->used = at + size;
    showBytes(dataOf(block) + at, size);
    return dataOf(block) + at;
}

}  // namespace

void* carveFromNextBlock(BlockStore* store, size_t size) {
    StoreBlock* block = advanceBlock(store, size);
    if (!block) return nullptr;
    block->used = size;
    showBytes(dataOf(block), size);
    return dataOf(block);
}

void* growCarve(BlockStore* store, void* record, size_t oldSize, size_t newSize,
                size_t alignment) {
    if (allocationRefused()) return nullptr;
    StoreBlock* block = store->current;
    char* bytes = static_cast<char*>(record);
    int latest = isLatestCarve(block, bytes, oldSize);
    if (latest && newSize - oldSize <= block->size - block->used) {
        showBytes(bytes + oldSize, newSize - oldSize);
        block->used += newSize - oldSize;
        return record;
    }
    char* moved = carveWithoutAsking(store, newSize, alignment);
    if (!moved) return nullptr;
    memcpy(moved, bytes, oldSize);
    if (latest && bytes == dataOf(block)) {
        freeBlock(store, block);  // it held nothing else
    } else if (latest) {
        block->used -= oldSize;
        hideBytes(bytes, oldSize);
    }
    return moved;
}

void giveBackCarve(BlockStore* store, void* record, size_t size) {
    StoreBlock* block = store->current;
    if (!isLatestCarve(block, static_cast<char*>(record), size)) return;
    block->used -= size;
    hideBytes(static_cast<char*>(record), size);
}

void restartStore(BlockStore* store) {
    for (StoreBlock* block = store->first; block; block = block->next) {
        block->used = 0;
        hideBytes(dataOf(block), block->size);
    }
    store->current = store->first;
}

void trimStore(BlockStore* store) {
    if (!store->current) return;
    while (store->current->next) freeBlock(store, store->current->next);
}

void releaseStore(BlockStore* store) {
    while (store->first) freeBlock(store, store->first);
    store->current = nullptr;
    store->bytesHeld = 0;
}
