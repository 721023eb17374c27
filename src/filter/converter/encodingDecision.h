// Decides which encoding a Japanese text file is in: by its byte-order mark,
// by a name given on the command line, or from its bytes.
#pragma once
#include <cstddef>

enum SourceEncoding {
    SOURCE_UNDECIDED,
    SOURCE_SHIFT_JIS,
    SOURCE_EUC_JP,
    SOURCE_ISO_2022_JP,
    SOURCE_UTF8,
    SOURCE_UTF16LE,
    SOURCE_UTF16BE
};

// Bytes past the first one that not every encoding reads alike, on which a
// file without a mark is decided.
const size_t DECISION_WINDOW = 1 << 16;

// The encoding that a byte-order mark at the start of `bytes` names, with the
// mark's length in *markLength; SOURCE_UNDECIDED when there is none.
SourceEncoding encodingOfMark(const unsigned char* bytes, size_t size, size_t* markLength);

// The encoding a rule names (sjis, euc-jp, iso-2022-jp, utf-8, utf-16le,
// utf-16be, in either case); SOURCE_UNDECIDED for any other name.
SourceEncoding encodingOfName(const char* name);

// How many leading bytes read the same in every encoding: ASCII without the
// escape and shift-out that begin ISO-2022-JP's other character sets.
size_t plainLength(const unsigned char* bytes, size_t size);

// The encoding of a file from its first byte that is not plain on. Every
// reading is weighed by how likely its characters are in Japanese text and
// the likeliest wins; Shift_JIS, which passes unchanged, wins a tie. A
// character cut at the end is left out of the weighing unless the input
// ends there, where it is as wrong as any other byte that does not belong.
SourceEncoding encodingOfWindow(const unsigned char* bytes, size_t size, int inputEnded);
