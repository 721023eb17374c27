// The rules file's text, read the way the system's profile calls read an INI
// file, but by the program's own word on its code page (932): lines, "[section]"
// lines, "key=value" lines. Names compare in either case of A-Z; blanks around
// names and values go, and a value wholly in matching quotes loses them.
#pragma once
#include <cstddef>
#include <cstdint>

struct RulesText {
    const char* bytes;
    size_t size;
};

// Copies the value of `key` in `section` into out (outSize bytes with its
// terminator; a longer value is cut) and gives its whole length, or -1 when
// the file has no such key.
long findRuleValue(RulesText text, const char* section, const char* key, char* out, size_t outSize);

// The number of `key` as the profile calls read one: blanks, a sign and decimal
// digits up to anything else, taken modulo 2^32; `byDefault` when the key is
// missing or empty.
uint32_t findRuleNumber(RulesText text, const char* section, const char* key, uint32_t byDefault);
