#include <windows.h>

#include "leadByte.h"

namespace {

// Asked once, at start-up, for the ANSI code page the process runs in.
struct PlatformLeadBytes {
    PlatformLeadBytes() {
        for (int byte = 0; byte < 256; ++byte) leadByteTable[byte] = IsDBCSLeadByte(BYTE(byte)) ? 1 : 0;
    }
};

}  // namespace

unsigned char leadByteTable[256];
static PlatformLeadBytes platformLeadBytes;
