#include <windows.h>

#include "leadByte.h"

int isLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) ? 1 : 0;
}
