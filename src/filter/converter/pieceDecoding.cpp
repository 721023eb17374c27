#include "pieceDecoding.h"

#include <cstring>

#include "unicodeDecoding.h"

DecodedPiece decodePiece(PieceDecoder* decoder, const unsigned char* piece, size_t size,
                         int last, unsigned char* bytes, char16_t* units) {
    DecodedPiece out = {size, 0, 0};
    switch (decoder->encoding) {
    case SOURCE_EUC_JP:
        out.taken = eucJpToShiftJis(piece, size, last, bytes, &out.bytes);
        break;
    case SOURCE_ISO_2022_JP:
        out.taken = iso2022JpToShiftJis(&decoder->jis, piece, size, last, bytes, &out.bytes);
        break;
    case SOURCE_UTF8:
        out.taken = utf8ToUtf16(piece, size, last, units, &out.units);
        break;
    case SOURCE_UTF16LE:
    case SOURCE_UTF16BE:
        out.taken = utf16ToUnits(piece, size, decoder->encoding == SOURCE_UTF16BE, last, units,
                                 &out.units);
        break;
    default:  // Shift_JIS, and anything undecided, as it is
        memcpy(bytes, piece, size);
        out.bytes = size;
    }
    takeCodePageForms(units, out.units);
    return out;
}
