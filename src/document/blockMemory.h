// Memory for the document's blocks, from the platform. Blocks of whole huge
// pages are asked for as such where the platform gives them: one page fault
// then maps 2 MB instead of 4 KB, which a large document feels.
#pragma once
#include <cstddef>

enum { HUGE_PAGE_BYTES = 2 * 1024 * 1024 };

void* allocateBlockMemory(size_t size);
void releaseBlockMemory(void* memory);
