// The document: a doubly linked list of logical lines, each owning its text
// and its row table.
#pragma once
#include <cstdint>

struct RowSpan {
    char* start;        // first byte of the row inside the owning line's text
    int32_t charCount;  // characters (a double-byte character counts one)
};

struct LineNode {
    LineNode* prev;
    LineNode* next;
    char* text;              // bytes without terminator, NUL-terminated
    int32_t length;          // bytes in text
    int32_t charCount;       // set by row breaking
    int32_t rowCount;        // set by row breaking
    RowSpan* rows;           // set by row breaking
    int32_t lineNumber;      // number printed before the first row
    int32_t pageBreakAfter;  // a form feed ended this line
};

extern LineNode* head;
extern LineNode* tail;
extern int32_t lineCounter;

LineNode* newLine();
int freeLine(LineNode* node);
void clearLineList();
LineNode* newEmptyLine();
LineNode* appendLineText(LineNode* node, int continuing, const char* bytes, int32_t count);
