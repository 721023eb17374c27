#include "dropList.h"

#include "ansiText.h"

namespace {

uint32_t readUint32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The width of one name unit, and whether the unit at p is the terminator.
int unitSize(const DropCursor& c) { return c.wide ? 2 : 1; }
bool isTerminator(const DropCursor& c, const unsigned char* p) { return !p[0] && (!c.wide || !p[1]); }

// Where the name at the cursor ends (its terminator), or null when the block
// ends first.
const unsigned char* terminatorOf(const DropCursor& c) {
    for (const unsigned char* p = c.at; c.end - p >= unitSize(c); p += unitSize(c))
        if (isTerminator(c, p)) return p;
    return nullptr;
}

bool copyWideName(const unsigned char* name, const unsigned char* terminator, uint16_t* out) {
    ptrdiff_t units = (terminator - name) / 2;
    if (units >= WIDE_NAME_LIMIT) return false;
    for (ptrdiff_t i = 0; i <= units; ++i) out[i] = uint16_t(name[2 * i] | name[2 * i + 1] << 8);
    return true;
}

bool copyByteName(const unsigned char* name, const unsigned char* terminator, uint16_t* out) {
    // A unit takes one byte or two: a longer name cannot fit, and a shorter one
    // that does not is refused by the conversion. Never cut: that names another file.
    ptrdiff_t length = terminator - name;
    if (length >= 2 * WIDE_NAME_LIMIT) return false;
    int units = ansiToWide(reinterpret_cast<const char*>(name), int(length), out, WIDE_NAME_LIMIT - 1);
    out[units] = 0;
    return units > 0;
}

}  // namespace

bool startDropList(const unsigned char* block, size_t size, DropCursor* cursor) {
    if (!block || size < DROPFILES_SIZE) return false;
    uint32_t names = readUint32(block);
    if (names > size) return false;
    *cursor = DropCursor{block + names, block + size, readUint32(block + 16) != 0};
    return true;
}

bool hasDropName(const DropCursor& c) {
    return c.end - c.at >= unitSize(c) && !isTerminator(c, c.at);
}

bool nextDropName(DropCursor* cursor, uint16_t* out, int* refused) {
    const unsigned char* terminator = hasDropName(*cursor) ? terminatorOf(*cursor) : nullptr;
    if (!terminator) return false;
    *refused = !(cursor->wide ? copyWideName : copyByteName)(cursor->at, terminator, out);
    if (*refused) out[0] = 0;
    cursor->at = terminator + unitSize(*cursor);
    return true;
}
