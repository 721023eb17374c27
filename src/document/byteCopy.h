// The loader's copies: every input byte is copied twice on its way into the
// document, a few dozen or a few hundred at a time. Inline, in words of
// eight that overlap at the end rather than pass it: a library call per
// copy costs more than the copy, most of all where the library's copy
// aligns byte by byte first (Wine's msvcrt).
#pragma once
#include <cstddef>
#include <cstring>

inline void copyBytes(char* to, const char* from, size_t count) {
    if (count >= 8) {
        for (size_t at = 0; at + 8 < count; at += 8) memcpy(to + at, from + at, 8);
        memcpy(to + count - 8, from + count - 8, 8);
    } else if (count >= 4) {
        memcpy(to, from, 4);
        memcpy(to + count - 4, from + count - 4, 4);
    } else if (count > 0) {
        to[0] = from[0];
        to[count / 2] = from[count / 2];
        to[count - 1] = from[count - 1];
    }
}
