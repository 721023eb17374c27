#include "leadByte.h"

namespace {

struct Cp932LeadBytes {
    Cp932LeadBytes() {
        for (int byte = 0; byte < 256; ++byte) {
            leadByteTable[byte] = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        }
    }
};

}  // namespace

unsigned char leadByteTable[256];
static Cp932LeadBytes cp932LeadBytes;
