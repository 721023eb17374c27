// The document: a doubly linked list of logical lines, each with its text
// and its row table. Nodes, texts and row tables are carved from large blocks
// that the document owns; the next load gives them all back at once.
#pragma once
#include <cstddef>
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

// The loader's way: each input block is copied into the document's text
// once, after the unfinished text of `continuing` (the tail, or null), with
// a NUL after it; its lines are then marked where they lie. Gives where the
// block's bytes start, or null when memory runs out, the tail keeping its
// text. The tail's text may move, never its bytes before the block.
char* appendBlockText(LineNode* continuing, const char* bytes, int32_t count);

// A new line linked after the tail, its `length` bytes at `text` inside the
// document's text; the caller puts the NUL after them. Null when memory runs
// out.
LineNode* linkLineAt(char* text, int32_t length);

// A row table of entries + 1 entries that keeps the first `entries` of
// `rows` (none when entries is 0): the latest table grows in place. Null
// when memory runs out, with `rows` untouched.
RowSpan* extendRowTable(RowSpan* rows, int32_t entries);
void dropRowTable(RowSpan* rows, int32_t entries);

// The row tables that the calling thread carves come from store `index`
// (below ROW_STORE_COUNT); a thread starts with store 0.
enum { ROW_STORE_COUNT = 2 };
void useRowStore(int index);

// Breaking the whole document replaces every row table: it restarts them
// first and trims what the new ones did not need after, so that a change
// of grid does not grow the document.
void restartRowTables();
void trimRowTables();

