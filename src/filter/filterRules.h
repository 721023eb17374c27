// The parts of a filter rule that need no platform: which files a rule's
// folder and suffixes select, the tab code in its command, and where the
// rules file lies.
#pragma once
#include <cstdint>

enum {
    FILTER_COMMAND_SIZE = 260,
    FILTER_SUFFIXES_SIZE = 128,
    FILTER_SECTION_LIMIT = 10,
};

// "NumOfFilter" is read unsigned: a negative count means the limit too.
uint32_t limitFilterCount(uint32_t count);

// 1 when `path` begins with `folder`: letters A-Z in either case, double-byte
// characters byte for byte, so that a trail byte is never folded.
bool startsWithFolder(const char* path, const char* folder);

// 1 when `suffixes` is empty or one of its tokens (split at space, comma,
// tab and line feed) ends `path`. An ending must begin on a character of
// the path, and is compared as startsWithFolder compares.
bool matchesSuffixes(const char* path, const char* suffixes);

// Writes `tabCount` in decimal over the first "&T" of `command`; false,
// with `command` unchanged, when the result would not fit in `size` bytes.
bool expandTabCode(char* command, int size, int32_t tabCount);

// The module path with its last nine characters ("Print.exe") replaced by
// ".ini", in bytes or in UTF-16 units. Gives 0 when the path is shorter than
// that or the result does not fit in `size` of them.
template <typename Char>
int makeConfigPath(const Char* modulePath, Char* configPath, int size) {
    const int replaced = 9;  // "Print.exe"
    const char ending[] = ".ini";
    int length = 0;
    while (modulePath[length]) ++length;
    if (length < replaced || length - replaced + int(sizeof ending) > size) return 0;
    for (int i = 0; i < length - replaced; ++i) configPath[i] = modulePath[i];
    for (int i = 0; i < int(sizeof ending); ++i) configPath[length - replaced + i] = Char(ending[i]);
    return 1;
}
