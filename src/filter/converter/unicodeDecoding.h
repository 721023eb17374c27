// UTF-8 and marked UTF-16 to UTF-16 units, a piece at a time, for the
// platform's call that turns them into code page 932.
#pragma once
#include <cstddef>
#include <cstdint>

// What utf8Character gives for a sequence that the end of the bytes cuts.
const int UTF8_CUT = -1;

// The length of the UTF-8 character at the start of `bytes`, with its code
// point; 0 when the bytes are not UTF-8 there (overlong forms, surrogates and
// code points past U+10FFFF included); UTF8_CUT when they could be, but end
// inside it.
int utf8Character(const unsigned char* bytes, size_t size, uint32_t* codePoint);

// Decodes UTF-8 into `units` (room for `size` of them), each byte that is
// not UTF-8 as U+FFFD. A character cut at the end waits for the next piece
// unless the input has ended. Gives the bytes taken; *count gets the units.
size_t utf8ToUtf16(const unsigned char* bytes, size_t size, int ended, char16_t* units,
                   size_t* count);

// Pairs of bytes into units (room for `size` / 2 + 1); a high surrogate at
// the end waits for its partner, and an odd last byte for its pair, unless
// the input has ended (the odd byte is then U+FFFD). Gives the bytes taken.
size_t utf16ToUnits(const unsigned char* bytes, size_t size, int bigEndian, int ended,
                    char16_t* units, size_t* count);

// Other systems write the wave dash, minus sign, double vertical line, em
// dash, cent, pound, not, yen and overline as characters that code page 932
// lacks: each becomes the code page's own form, so that "1〜3" does not
// print "1?3".
void takeCodePageForms(char16_t* units, size_t count);
