// Decides what a file's bytes are and turns them into Shift_JIS through the
// platform's code-page functions, a piece at a time.
#pragma once
#include <cstddef>

enum SourceEncoding { SOURCE_UNDECIDED, SOURCE_UTF8, SOURCE_UTF16LE, SOURCE_UTF16BE, SOURCE_AS_IS };

// Bytes past the first one above 0x7F that decide a file without a mark.
const size_t DECISION_WINDOW = 1 << 16;

// The encoding that a byte-order mark at the start of `bytes` names, with the
// mark's length in *markLength; SOURCE_UNDECIDED when there is none.
SourceEncoding encodingOfMark(const unsigned char* bytes, size_t size, size_t* markLength);

// A file without a mark, from its first byte above 0x7F on (ASCII reads the
// same either way): UTF-8 when the window is valid UTF-8, a character cut at
// its end allowed unless the input ends there; otherwise it passes as it is.
SourceEncoding encodingOfWindow(const unsigned char* bytes, size_t size, int inputEnded);

// How many of the UTF-8 bytes can be converted now: all but a character
// that the end of what has been read cuts in two.
size_t completeUtf8Length(const unsigned char* bytes, size_t size);

// UTF-8 to UTF-16; `wide` has room for `size` units. Bytes that are not
// UTF-8 become U+FFFD.
int utf8ToUtf16(const unsigned char* bytes, size_t size, wchar_t* wide);

// UTF-16 units to Shift_JIS; `output` has room for two bytes a unit. The
// forms that other systems use for the wave dash, the minus sign and five
// more are taken as code page 932's own; any other character that the code
// page lacks becomes "?". Gives the bytes written.
size_t utf16ToShiftJis(wchar_t* wide, int count, char* output);
