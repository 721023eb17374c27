// A document made from bytes in memory, read by the real loader.
#pragma once
#include <algorithm>
#include <cstring>
#include <string>

#include "document/documentReader.h"

struct TextSource {
    std::string bytes;
    size_t offset = 0;

    static int read(void* context, char* buffer, int size, int* bytesRead) {
        TextSource& s = *static_cast<TextSource*>(context);
        size_t n = std::min(size_t(size), s.bytes.size() - s.offset);
        memcpy(buffer, s.bytes.data() + s.offset, n);
        s.offset += n;
        *bytesRead = int(n);
        return 1;
    }
};
