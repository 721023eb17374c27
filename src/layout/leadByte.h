// The one platform fact the layout needs: does this byte start a double-byte
// character in the ANSI code page? The program asks the platform; the native
// build answers for code page 932.
#pragma once

int isLeadByte(unsigned char byte);
