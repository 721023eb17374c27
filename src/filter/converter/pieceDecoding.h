// One piece of a file in any of the encodings the converter reads, decoded
// into Shift_JIS bytes or into UTF-16 units for the platform's code-page call.
#pragma once
#include <cstddef>

#include "encodingDecision.h"
#include "jisDecoding.h"

struct PieceDecoder {
    SourceEncoding encoding;
    JisState jis;  // ISO-2022-JP's set, carried from piece to piece
};

struct DecodedPiece {
    size_t taken;  // bytes of the piece used; the rest (a cut character) waits
    size_t bytes;  // Shift_JIS bytes written (Shift_JIS, EUC-JP, ISO-2022-JP)
    size_t units;  // UTF-16 units written (UTF-8, UTF-16), the forms that
                   // other systems use taken as code page 932's own
};

// `bytes` has room for `size` bytes, `units` for `size` units. `last`:
// the input ends with this piece, so nothing waits.
DecodedPiece decodePiece(PieceDecoder* decoder, const unsigned char* piece, size_t size,
                         int last, unsigned char* bytes, char16_t* units);
