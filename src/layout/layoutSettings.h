// Settings that shape rows: tab stops, word wrap and the kinsoku sets.
#pragma once
#include <cstdint>

enum { KINSOKU_SET_SIZE = 256 };

struct LayoutSettings {
    int32_t tabCount;
    int32_t columns;
    int32_t wordWrap;
    int32_t kinsoku;
    char kinsokuLineStart[KINSOKU_SET_SIZE];
    char kinsokuHanging[KINSOKU_SET_SIZE];
    char kinsokuLineEnd[KINSOKU_SET_SIZE];
};

extern LayoutSettings layoutSettings;

// The built-in kinsoku sets as CP932 bytes (the program's string table
// holds the same texts as entries 4, 5 and 6).
extern const char defaultKinsokuLineStart[];
extern const char defaultKinsokuHanging[];
extern const char defaultKinsokuLineEnd[];

// Copies a set, cut at KINSOKU_SET_SIZE - 1 bytes, always terminated.
void copyKinsokuSet(char* set, const char* text);
