// The other platform fact the core needs: a UTF-16 name in the ANSI code
// page. Characters the code page cannot hold become its default character.
// The program asks the platform; the native build converts to code page 932.
#pragma once
#include <cstdint>

// Converts `count` UTF-16 units (their terminator included) into out; gives
// the bytes written, or 0 when they do not fit in outSize.
int wideToAnsi(const uint16_t* wide, int count, char* out, int outSize);
