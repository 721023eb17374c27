// The text conversions the core needs from the platform. A name in UTF-16
// into code page 932 as that code page writes it: one "?" for each
// character it lacks, never a look-alike (best fit would make "café" the
// name of another file, "cafe"). And bytes in the system's ANSI code page,
// as older programs put names on the clipboard, into UTF-16. The program
// asks the platform; the native build converts with iconv, its ANSI code
// page being 932.
#pragma once
#include <cstdint>

// Converts `count` UTF-16 units (a terminator among them is converted too)
// into out; gives the bytes written, or 0 when they do not fit in outSize.
int wideTo932(const uint16_t* wide, int count, char* out, int outSize);

// Converts `count` bytes into out; gives the units written, or 0 when they
// do not fit in outUnits or are no text of the code page.
int ansiToWide(const char* bytes, int count, uint16_t* out, int outUnits);
