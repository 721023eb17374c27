// Eight bytes at a time: which bytes start characters, which are lead bytes
// and which are word characters. Lets row breaking cross the middle of a row
// without stepping from character to character.
#pragma once
#include <cstdint>

struct ByteGroup {
    unsigned starts;    // bit i: byte i starts a character
    unsigned words;     // bit i: byte i starts a word character
    int count;          // characters starting in the group
    int endsInTrail;    // the group's last character continues into the next byte
};

struct GroupTables {
    unsigned char byteClass[256];  // 1: lead byte, 2: word character
    // For a group entered in a trail byte or not, and its 8-bit lead mask:
    // the character starts, their number, and whether the last one spills over.
    unsigned char starts[2][256];
    unsigned char counts[2][256];
    unsigned char spills[2][256];
};

// Built on first use, from the platform's lead bytes.
const GroupTables& groupTables();

// Classifies the 8 bytes at p (none of them NUL, and p[8] readable).
// startsInTrail: p[0] is the second byte of a double-byte character.
inline ByteGroup classifyGroup(const GroupTables& t, const char* p, int startsInTrail) {
    unsigned leads = 0, words = 0;
    for (int i = 0; i < 8; ++i) {
        unsigned c = t.byteClass[(unsigned char)p[i]];
        leads |= (c & 1u) << i;
        words |= ((c >> 1) & 1u) << i;
    }
    unsigned starts = t.starts[startsInTrail][leads];
    // A lead byte whose next byte is the terminator is a character of its own.
    return ByteGroup{starts, words & starts, t.counts[startsInTrail][leads],
                     t.spills[startsInTrail][leads] && p[8] != '\0'};
}
