#include "filterRules.h"

#include <cstdio>
#include <cstring>

#include "../layout/leadByte.h"

namespace {

char foldLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Compares `length` bytes of `text` with `pattern`, character by character
// as `text` divides them: a double-byte character must be equal and whole.
bool sameText(const char* text, const char* pattern, size_t length) {
    size_t i = 0;
    while (i < length) {
        if (isDoubleByte(text + i)) {
            if (i + 1 >= length || text[i] != pattern[i] || text[i + 1] != pattern[i + 1]) return false;
            i += 2;
        } else {
            if (foldLetter(text[i]) != foldLetter(pattern[i])) return false;
            ++i;
        }
    }
    return true;
}

// Whether `position` starts a character of `text`, not a trail byte.
int startsCharacter(const char* text, const char* position) {
    const char* p = text;
    while (p < position) p += isDoubleByte(p) ? 2 : 1;
    return p == position;
}

bool isSeparator(char c) {
    return c == ' ' || c == ',' || c == '\t' || c == '\n';
}

bool endsWith(const char* path, size_t pathLength, const char* token, size_t tokenLength) {
    if (tokenLength > pathLength) return false;
    const char* ending = path + pathLength - tokenLength;
    return startsCharacter(path, ending) && sameText(ending, token, tokenLength);
}

// The first "&T", looked for character by character.
char* findTabCode(char* command) {
    for (char* p = command; *p; p += isDoubleByte(p) ? 2 : 1) {
        if (p[0] == '&' && p[1] == 'T') return p;
    }
    return nullptr;
}

}  // namespace

uint32_t limitFilterCount(uint32_t count) {
    return count < uint32_t(FILTER_SECTION_LIMIT) ? count : uint32_t(FILTER_SECTION_LIMIT);
}

bool startsWithFolder(const char* path, const char* folder) {
    size_t folderLength = strlen(folder);
    return strlen(path) >= folderLength && sameText(path, folder, folderLength);
}

bool matchesSuffixes(const char* path, const char* suffixes) {
    if (!*suffixes) return true;
    size_t pathLength = strlen(path);
    for (const char* p = suffixes; *p;) {
        while (isSeparator(*p)) ++p;
        const char* token = p;
        while (*p && !isSeparator(*p)) ++p;
        if (p > token && endsWith(path, pathLength, token, size_t(p - token))) return true;
    }
    return false;
}

bool expandTabCode(char* command, int size, int32_t tabCount) {
    char* code = findTabCode(command);
    if (!code) return true;
    char digits[16];
    size_t digitCount = size_t(snprintf(digits, sizeof digits, "%d", int(tabCount)));
    size_t restLength = strlen(code + 2);
    if (size_t(code - command) + digitCount + restLength >= size_t(size)) return false;
    memmove(code + digitCount, code + 2, restLength + 1);
    memcpy(code, digits, digitCount);
    return true;
}
