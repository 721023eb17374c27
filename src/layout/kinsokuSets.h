// The three kinsoku sets as bitmaps, so that the rules cost one lookup per
// test while every line of a document is broken.
#pragma once

enum KinsokuSetName { LINE_START_SET, HANGING_SET, LINE_END_SET };

struct KinsokuBits {
    unsigned char singleByte[256 / 8];
    unsigned char doubleByte[65536 / 8];
};

struct PreparedKinsokuSets {
    KinsokuBits sets[3];
};

// Fills the bitmaps from the set strings, read character by character.
void prepareKinsokuSets(PreparedKinsokuSets* prepared, const char* lineStart, const char* hanging,
                        const char* lineEnd);

inline int isInPreparedSet(const PreparedKinsokuSets& prepared, KinsokuSetName set, unsigned code,
                           int doubleByte) {
    const KinsokuBits& bits = prepared.sets[set];
    const unsigned char* map = doubleByte ? bits.doubleByte : bits.singleByte;
    return (map[code >> 3] >> (code & 7)) & 1;
}
