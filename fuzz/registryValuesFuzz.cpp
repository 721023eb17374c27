// Every decoder of stored settings fed a value of any type, size and bytes:
// none reads past the value or writes past its output, a refused value
// leaves the output untouched, an accepted one is exactly what a plain
// reading of the bytes gives, and a decoded string is always terminated.
//
// Input: byte 0 the value type (mod 8, 0xFF for a type beyond the known ones),
// 2 bytes the string buffer size (mod 300), then the value's bytes.
#include <cstring>
#include <memory>
#include <vector>

#include "fuzzSupport.h"
#include "settings/registryValues.h"

namespace {

int32_t littleEndian32(const unsigned char* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

const unsigned char FILL = 0xA5;

bool allFill(const unsigned char* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (p[i] != FILL) return false;
    }
    return true;
}

void checkDword(const StoredValue& value) {
    auto out = std::make_unique<int32_t>(0x5A5A5A5A);
    int accepted = decodeDword(value, out.get());
    FUZZ_CHECK(accepted == (value.type == VALUE_DWORD && value.size == 4));
    FUZZ_CHECK(*out == (accepted ? littleEndian32(value.bytes) : 0x5A5A5A5A));
}

void checkString(const StoredValue& value, uint32_t outSize) {
    // Exactly outSize bytes on the heap, so that one byte too far is caught.
    std::unique_ptr<unsigned char[]> out(new unsigned char[outSize ? outSize : 1]);
    memset(out.get(), FILL, outSize ? outSize : 1);
    int accepted = decodeString(value, reinterpret_cast<char*>(out.get()), outSize);
    size_t length = strnlen(reinterpret_cast<const char*>(value.bytes), value.size);
    FUZZ_CHECK(accepted == (value.type == VALUE_SZ && value.size <= outSize && length < outSize));
    if (!accepted) {
        FUZZ_CHECK(allFill(out.get(), outSize ? outSize : 1));
        return;
    }
    FUZZ_CHECK(memcmp(out.get(), value.bytes, length) == 0);
    FUZZ_CHECK(out[length] == 0);
}

void checkLogFont(const StoredValue& value) {
    std::unique_ptr<unsigned char[]> out(new unsigned char[LOGFONT_VALUE_SIZE]);
    memset(out.get(), FILL, LOGFONT_VALUE_SIZE);
    int accepted = decodeLogFont(value, out.get());
    FUZZ_CHECK(accepted == (value.type == VALUE_BINARY && value.size == LOGFONT_VALUE_SIZE));
    if (!accepted) {
        FUZZ_CHECK(allFill(out.get(), LOGFONT_VALUE_SIZE));
        return;
    }
    FUZZ_CHECK(memcmp(out.get(), value.bytes, LOGFONT_VALUE_SIZE - 1) == 0);
    FUZZ_CHECK(strnlen(reinterpret_cast<const char*>(out.get()) + LOGFONT_FACE_OFFSET, LOGFONT_FACE_SIZE) <
               size_t(LOGFONT_FACE_SIZE));
}

void checkMargins(const StoredValue& value) {
    auto out = std::make_unique<MarginBox>(MarginBox{7, 7, 7, 7});
    int accepted = decodeMargins(value, out.get());
    FUZZ_CHECK(accepted == (value.type == VALUE_BINARY && value.size == MARGIN_VALUE_SIZE));
    if (!accepted) {
        FUZZ_CHECK(out->left == 7 && out->top == 7 && out->right == 7 && out->bottom == 7);
        return;
    }
    FUZZ_CHECK(out->left == littleEndian32(value.bytes) && out->top == littleEndian32(value.bytes + 4) &&
               out->right == littleEndian32(value.bytes + 8) && out->bottom == littleEndian32(value.bytes + 12));
    unsigned char again[MARGIN_VALUE_SIZE];
    encodeMargins(*out, again);
    FUZZ_CHECK(memcmp(again, value.bytes, MARGIN_VALUE_SIZE) == 0);
}

void checkOrientation(const StoredValue& value) {
    auto out = std::make_unique<int16_t>(int16_t(9));
    int accepted = decodeOrientation(value, out.get());
    int stored = value.size == ORIENTATION_VALUE_SIZE ? value.bytes[0] | value.bytes[1] << 8 : -1;
    FUZZ_CHECK(accepted == (value.type == VALUE_BINARY && (stored == 1 || stored == 2)));
    if (!accepted) {
        FUZZ_CHECK(*out == 9);
        return;
    }
    FUZZ_CHECK(*out == stored);
    unsigned char again[ORIENTATION_VALUE_SIZE];
    encodeOrientation(*out, again);
    FUZZ_CHECK(memcmp(again, value.bytes, ORIENTATION_VALUE_SIZE) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader reader{data, size};
    uint8_t typeByte = reader.take();
    uint32_t type = typeByte == 0xFF ? 0x80000004u : uint32_t(typeByte % 8);
    uint32_t outSize = reader.take16() % 300;
    // The value in a block of its own exact size, so that any read past it is caught.
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[reader.size ? reader.size : 1]);
    memcpy(bytes.get(), reader.data, reader.size);
    StoredValue value{type, bytes.get(), uint32_t(reader.size)};

    checkDword(value);
    checkString(value, outSize);
    checkLogFont(value);
    checkMargins(value);
    checkOrientation(value);
    return 0;
}
