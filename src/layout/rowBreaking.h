// Cuts every line into rows of at most `columns` cells: tab stops, ASCII word
// wrap and the kinsoku rules.
#pragma once
#include <cstdint>

#include "../document/lineList.h"
#include "leadByte.h"

enum BreakResult {
    BREAK_BEFORE = 0,    // the row ends before the current character
    MOVE_WORD = 1,       // the word the current character ends moves on
    HANG = 2,            // the current character stays, past the margin
    CARRY_PREVIOUS = 3,  // the previous character moves on with it
};

extern int32_t totalRows;

// Row breaking takes short cuts: a line that surely fits is only counted,
// and the middle of rows is crossed eight bytes at a time. Clearing this
// makes it step character by character, so that tests can compare.
extern int rowBreakingByGroups;

inline int isWordChar(char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte == '_';
}

// Row k of a line: from its row table, or, for a line of one row, which
// needs no table of its own, the whole line. (A line whose table could not be
// had for want of memory also has none; each of its rows is the whole line.)
inline RowSpan rowOf(const LineNode* line, int32_t k) {
    return line->rows ? line->rows[k] : RowSpan{line->text, line->charCount};
}

int32_t wordRunLength(const char* p);
void breakAllLines(int32_t columns);

// Columns a tab advances with `used` columns filled; the renderer draws with
// the same rule, so both must agree.
int32_t tabAdvance(int64_t used, int32_t tabCount, int32_t columns);
