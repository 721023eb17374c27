// Does this byte start a double-byte character? The document is code page
// 932 by the program's own word, whatever the system's code page: the table
// answers for code page 932 in every build. A table, so that the test costs
// one load per character.
#pragma once

extern unsigned char leadByteTable[256];

inline int isLeadByte(unsigned char byte) {
    return leadByteTable[byte];
}

// A lead byte followed by anything but the terminator.
inline int isDoubleByte(const char* p) {
    return p && isLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0';
}
