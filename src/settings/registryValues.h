// Decoding and encoding of the stored settings' values. A value of the wrong
// type or size, or one that the program cannot use, counts as missing: the
// decoder gives false and the caller keeps its default.
#pragma once
#include <cstdint>

#include "../print/pageArithmetic.h"

// The registry's value type numbers.
enum { VALUE_SZ = 1, VALUE_BINARY = 3, VALUE_DWORD = 4 };

enum { LOGFONT_VALUE_SIZE = 60, MARGIN_VALUE_SIZE = 16, ORIENTATION_VALUE_SIZE = 2,
       LOGFONT_FACE_OFFSET = 28, LOGFONT_FACE_SIZE = 32 };

struct StoredValue {
    uint32_t type;
    const unsigned char* bytes;
    uint32_t size;
};

// A 4-byte number.
bool decodeDword(const StoredValue& value, int32_t* out);
// A string into a buffer of outSize bytes: the value must not be larger than
// the buffer, and the text must fit with its terminator.
bool decodeString(const StoredValue& value, char* out, uint32_t outSize);
// The 60-byte font description; the face name comes back terminated.
bool decodeLogFont(const StoredValue& value, unsigned char out[LOGFONT_VALUE_SIZE]);
// Four little-endian int32: left, top, right, bottom.
bool decodeMargins(const StoredValue& value, MarginBox* out);
void encodeMargins(const MarginBox& margins, unsigned char out[MARGIN_VALUE_SIZE]);
// One little-endian int16: 1 portrait, 2 landscape; nothing else is an orientation.
bool decodeOrientation(const StoredValue& value, int16_t* out);
void encodeOrientation(int16_t orientation, unsigned char out[ORIENTATION_VALUE_SIZE]);

// Values the layout and the window cannot work with.
bool isUsableTabCount(int32_t tabCount);
bool isUsablePreviewScale(int32_t scale);
bool isUsablePointSize(int32_t tenthsOfAPoint);
