// Eight bytes at a time: which bytes start characters, which are lead bytes
// and which are word characters. Lets row breaking cross the middle of a row
// without stepping from character to character.
#pragma once
#include <cstdint>
#include <cstring>

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
    // The lead bytes as two ranges of bytes above 0x7F, as code page 932 has
    // them: eight bytes are then tested at once. 0 in leadRanges when the
    // lead bytes are otherwise.
    int leadRanges;
    uint64_t rangeStarts[2];  // per byte: 0x80 - (first lead - 0x80)
    uint64_t rangeEnds[2];    // per byte: 0x7F - (last lead - 0x80)
};

// Built on first use, from the platform's lead bytes.
const GroupTables& groupTables();

// Bit i: byte i of the 8 bytes at p is a lead byte.
inline unsigned leadMask(const GroupTables& t, const char* p) {
    if (!t.leadRanges) {
        unsigned leads = 0;
        for (int i = 0; i < 8; ++i) leads |= (t.byteClass[(unsigned char)p[i]] & 1u) << i;
        return leads;
    }
    const uint64_t highs = 0x8080808080808080ULL;
    uint64_t bytes;
    memcpy(&bytes, p, sizeof bytes);
    uint64_t low = bytes & ~highs;  // each byte's low seven bits: no carry leaves a byte
    uint64_t inRange = ((low + t.rangeStarts[0]) & ~(low + t.rangeEnds[0])) |
                       ((low + t.rangeStarts[1]) & ~(low + t.rangeEnds[1]));
    uint64_t leads = bytes & inRange & highs;
    // Gathers the high bit of each byte (in memory order) into one byte.
    return unsigned(((leads >> 7) * 0x0102040810204080ULL) >> 56);
}

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
