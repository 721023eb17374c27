// The file list of a drop or of the clipboard (CF_HDROP): a DROPFILES header
// whose pFiles is the offset of the names and whose fWide tells UTF-16 names
// from ANSI bytes, then the names, each ended by a NUL, and an empty name at
// the end. The block comes from another program: nothing is read past it,
// and only names that lie wholly inside it are taken.
#pragma once
#include <cstddef>
#include <cstdint>

enum { DROPFILES_SIZE = 20, WIDE_NAME_LIMIT = 260 };

struct DropCursor {
    const unsigned char* at;
    const unsigned char* end;
    int wide;
};

// Starts at the first name; false for a block smaller than its header or
// whose names would start outside it.
bool startDropList(const unsigned char* block, size_t size, DropCursor* cursor);

// Whether a name (not the empty one that ends the list) starts at the cursor.
bool hasDropName(const DropCursor& cursor);

// Writes the name at the cursor into out (WIDE_NAME_LIMIT units) in UTF-16
// and moves past it; false when no whole name is there. A UTF-16 name is
// kept as it is; a byte name, in the system's ANSI code page, is converted.
// A name of WIDE_NAME_LIMIT units or more, or bytes that are no text, are
// refused (*refused set, out empty) rather than cut into the name of some
// other file.
bool nextDropName(DropCursor* cursor, uint16_t* out, int* refused);
