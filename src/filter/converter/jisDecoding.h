// EUC-JP and ISO-2022-JP to Shift_JIS, a piece at a time. All three encode
// JIS X 0208 by its row and cell, so the bytes of a character follow from
// each other by arithmetic; no table is needed.
#pragma once
#include <cstddef>

// A byte of an EUC-JP double-byte character (A1 to FE), and a half-width
// katakana as Shift_JIS and EUC-JP's second byte after 8E have it (A1 to DF).
bool isEucByte(unsigned byte);
bool isHalfWidthKatakana(unsigned byte);

// The two Shift_JIS bytes of the character at `row` and `cell` (1 to 94).
// Rows 95 to 120 are code page 932's own leads F0 to FC.
void shiftJisOfRowCell(int row, int cell, unsigned char* bytes);

// The row and cell of a Shift_JIS double-byte character; false when `first` is
// no lead byte or `second` no trail byte.
bool rowCellOfShiftJis(unsigned first, unsigned second, int* row, int* cell);

// The length of the ISO-2022-JP escape at the start of `bytes`, with the
// character set it chooses in *set; 0 when there is none; JIS_ESCAPE_CUT when
// the bytes end inside one.
enum JisSet { JIS_ASCII, JIS_ROMAN, JIS_KANJI, JIS_KATAKANA, JIS_SUPPLEMENT };
const int JIS_ESCAPE_CUT = -1;
int jisEscape(const unsigned char* bytes, size_t size, JisSet* set);

// Where an ISO-2022-JP text stands between pieces: the set its last escape
// chose, and whether a shift-out has turned to katakana since.
struct JisState {
    JisSet set = JIS_ASCII;
    bool shiftedOut = false;
};

// Each writes at most one byte for every byte it takes into `out` and gives
// the bytes taken, with the bytes written in *written. A character or escape
// cut at the end waits for the next piece unless the input has ended. A
// byte that does not belong, and a JIS X 0212 character (which the code page
// lacks), become "?".
size_t eucJpToShiftJis(const unsigned char* in, size_t size, int ended, unsigned char* out,
                       size_t* written);
size_t iso2022JpToShiftJis(JisState* state, const unsigned char* in, size_t size, int ended,
                           unsigned char* out, size_t* written);
