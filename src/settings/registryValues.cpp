#include "registryValues.h"

#include <cstring>

namespace {

int32_t readInt32(const unsigned char* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                   uint32_t(p[3]) << 24);
}

void writeInt32(int32_t value, unsigned char* p) {
    uint32_t v = uint32_t(value);
    for (int i = 0; i < 4; ++i) p[i] = (unsigned char)(v >> (8 * i));
}

}  // namespace

bool decodeDword(const StoredValue& value, int32_t* out) {
    if (value.type != VALUE_DWORD || value.size != 4) return false;
    *out = readInt32(value.bytes);
    return true;
}

bool decodeString(const StoredValue& value, char* out, uint32_t outSize) {
    // Larger than its buffer: the platform would not have read it at all.
    if (value.type != VALUE_SZ || outSize == 0 || value.size > outSize) return false;
    // Stored strings normally carry their NUL; one written without it is
    // taken as far as it goes, as long as the terminator still fits.
    const void* nul = value.size ? memchr(value.bytes, 0, value.size) : nullptr;
    uint32_t length = nul ? uint32_t(static_cast<const unsigned char*>(nul) - value.bytes) : value.size;
    if (length >= outSize) return false;
    if (length) memcpy(out, value.bytes, length);
    out[length] = '\0';
    return true;
}

bool decodeLogFont(const StoredValue& value, unsigned char out[LOGFONT_VALUE_SIZE]) {
    if (value.type != VALUE_BINARY || value.size != LOGFONT_VALUE_SIZE) return false;
    memcpy(out, value.bytes, LOGFONT_VALUE_SIZE);
    out[LOGFONT_FACE_OFFSET + LOGFONT_FACE_SIZE - 1] = 0;
    return true;
}

bool decodeMargins(const StoredValue& value, MarginBox* out) {
    if (value.type != VALUE_BINARY || value.size != MARGIN_VALUE_SIZE) return false;
    *out = MarginBox{readInt32(value.bytes), readInt32(value.bytes + 4), readInt32(value.bytes + 8),
                     readInt32(value.bytes + 12)};
    return true;
}

void encodeMargins(const MarginBox& m, unsigned char out[MARGIN_VALUE_SIZE]) {
    writeInt32(m.left, out);
    writeInt32(m.top, out + 4);
    writeInt32(m.right, out + 8);
    writeInt32(m.bottom, out + 12);
}

bool decodeOrientation(const StoredValue& value, int16_t* out) {
    if (value.type != VALUE_BINARY || value.size != ORIENTATION_VALUE_SIZE) return false;
    int16_t orientation = int16_t(value.bytes[0] | value.bytes[1] << 8);
    if (orientation != ORIENTATION_PORTRAIT && orientation != ORIENTATION_LANDSCAPE) return false;
    *out = orientation;
    return true;
}

void encodeOrientation(int16_t orientation, unsigned char out[ORIENTATION_VALUE_SIZE]) {
    out[0] = (unsigned char)orientation;
    out[1] = (unsigned char)(uint16_t(orientation) >> 8);
}

bool isUsableTabCount(int32_t tabCount) {
    return tabCount >= 1;
}

bool isUsablePreviewScale(int32_t scale) {
    // Any zoom the user could have meant; a window of more than 100 sheets
    // across, or of none, is not one.
    return scale >= 1 && scale <= 10000;
}

bool isUsablePointSize(int32_t tenthsOfAPoint) {
    return tenthsOfAPoint >= 10 && tenthsOfAPoint <= 10000;
}
