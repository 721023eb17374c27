#include "layoutSettings.h"

#include <cstring>

// Bytes spelled out so that the table does not depend on the source charset.
// "：；？！’”）〕］｝〉》」』】:;?!)]}｣"
#define LINE_START_SET                                                   \
    "\x81\x46\x81\x47\x81\x48\x81\x49\x81\x66\x81\x68\x81\x6a\x81\x6c" \
    "\x81\x6e\x81\x70\x81\x72\x81\x74\x81\x76\x81\x78\x81\x7a"         \
    ":;?!)]}\xa3"
// "、。，．､｡,."
#define HANGING_SET "\x81\x41\x81\x42\x81\x43\x81\x44\xa4\xa1,."
// "‘“（〔［｛〈《「『【([{｢"
#define LINE_END_SET                                                     \
    "\x81\x65\x81\x67\x81\x69\x81\x6b\x81\x6d\x81\x6f\x81\x71\x81\x73" \
    "\x81\x75\x81\x77\x81\x79"                                         \
    "([{\xa2"

const char defaultKinsokuLineStart[] = LINE_START_SET;
const char defaultKinsokuHanging[] = HANGING_SET;
const char defaultKinsokuLineEnd[] = LINE_END_SET;

LayoutSettings layoutSettings = {
    4, 2147483647, 0, 0, LINE_START_SET, HANGING_SET, LINE_END_SET,
};

void copyKinsokuSet(char* set, const char* text) {
    size_t length = strnlen(text, KINSOKU_SET_SIZE - 1);
    memcpy(set, text, length);
    set[length] = '\0';
}
