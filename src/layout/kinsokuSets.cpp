#include "kinsokuSets.h"

#include <cstring>

#include "leadByte.h"

static void fillBits(KinsokuBits* bits, const char* set) {
    memset(bits, 0, sizeof *bits);
    for (const char* s = set; *s;) {
        if (isDoubleByte(s)) {
            unsigned code = unsigned((unsigned char)s[0]) * 256 + (unsigned char)s[1];
            bits->doubleByte[code >> 3] |= (unsigned char)(1 << (code & 7));
            s += 2;
        } else {
            unsigned code = (unsigned char)s[0];
            bits->singleByte[code >> 3] |= (unsigned char)(1 << (code & 7));
            s += 1;
        }
    }
}

void prepareKinsokuSets(PreparedKinsokuSets* prepared, const char* lineStart, const char* hanging,
                        const char* lineEnd) {
    fillBits(&prepared->sets[LINE_START_SET], lineStart);
    fillBits(&prepared->sets[HANGING_SET], hanging);
    fillBits(&prepared->sets[LINE_END_SET], lineEnd);
}
