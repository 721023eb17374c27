// The one platform fact the layout needs: does this byte start a double-byte
// character in the ANSI code page? The program asks the platform once for
// every byte value; the native build answers for code page 932. A table, so
// that the test costs one load per character.
#pragma once

extern unsigned char leadByteTable[256];

inline int isLeadByte(unsigned char byte) {
    return leadByteTable[byte];
}

// A lead byte followed by anything but the terminator.
inline int isDoubleByte(const char* p) {
    return p && isLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0';
}
