// Decoding of stored setting values: a value of the wrong type or size, or
// one the program cannot use, must read as missing and leave the caller's
// variable exactly as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/registryValues.h"

namespace {

StoredValue valueOf(uint32_t type, const std::vector<unsigned char>& bytes) {
    return StoredValue{type, bytes.data(), uint32_t(bytes.size())};
}

std::vector<unsigned char> bytesOf(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

const uint32_t VALUE_EXPAND_SZ = 2, VALUE_DWORD_BIG_ENDIAN = 5, VALUE_MULTI_SZ = 7;

// The output buffer sits between guard bytes so that a write past either end
// shows, and starts filled so that a partial write on refusal shows too.
struct GuardedBuffer {
    enum { GUARD = 16 };
    std::vector<char> storage;
    uint32_t size;
    explicit GuardedBuffer(uint32_t bufferSize) : storage(bufferSize + 2 * GUARD, '#'), size(bufferSize) {}
    char* data() { return storage.data() + GUARD; }
    bool guardsIntact() const {
        for (size_t i = 0; i < GUARD; ++i) {
            if (storage[i] != '#' || storage[storage.size() - 1 - i] != '#') return false;
        }
        return true;
    }
    bool untouched() const {
        for (char c : storage) {
            if (c != '#') return false;
        }
        return true;
    }
};

TEST(RegistryDword, LittleEndianFourBytes) {
    int32_t out = 0;
    EXPECT_EQ(decodeDword(valueOf(VALUE_DWORD, {0x78, 0x56, 0x34, 0x12}), &out), 1);
    EXPECT_EQ(out, 0x12345678);
    EXPECT_EQ(decodeDword(valueOf(VALUE_DWORD, {0xFB, 0xFF, 0xFF, 0xFF}), &out), 1);
    EXPECT_EQ(out, -5);
    EXPECT_EQ(decodeDword(valueOf(VALUE_DWORD, {0x00, 0x00, 0x00, 0x80}), &out), 1);
    EXPECT_EQ(out, INT32_MIN);
}

TEST(RegistryDword, WrongTypeOrSizeKeepsTheVariable) {
    const std::vector<unsigned char> four = {1, 0, 0, 0};
    struct {
        uint32_t type;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {VALUE_BINARY, four},
        {VALUE_SZ, four},
        {VALUE_DWORD_BIG_ENDIAN, four},
        {VALUE_DWORD, {}},
        {VALUE_DWORD, {1, 0, 0}},
        {VALUE_DWORD, {1, 0, 0, 0, 0}},
        {VALUE_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}},  // a QWORD-sized value
    };
    for (auto& c : cases) {
        int32_t out = 4;
        EXPECT_EQ(decodeDword(valueOf(c.type, c.bytes), &out), 0)
            << "type " << c.type << ", " << c.bytes.size() << " bytes";
        EXPECT_EQ(out, 4);
    }
}

TEST(RegistryString, WithOrWithoutItsTerminator) {
    GuardedBuffer out(256);
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf(std::string("abc", 4))), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "abc");
    // Written without the NUL, as some tools do.
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf("xyz")), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "xyz");
    // Whatever follows the first NUL is not part of the text.
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf(std::string("ab\0cd\0", 6))), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "ab");
    // Code page 932 bytes pass unchanged.
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf("\x81\x41\x81\x42")), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "\x81\x41\x81\x42");
    EXPECT_TRUE(out.guardsIntact());
}

TEST(RegistryString, EmptyValues) {
    GuardedBuffer out(256);
    // An empty template is stored as the NUL alone.
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, {0}), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "");
    memset(out.data(), 'x', out.size);
    const unsigned char nothing[1] = {'z'};
    EXPECT_EQ(decodeString(StoredValue{VALUE_SZ, nothing, 0}, out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "");
    EXPECT_TRUE(out.guardsIntact());
}

// A zero-byte value may come without any data pointer, which memchr and
// memcpy must not see even for 0 bytes. Run apart: a sanitizer report ends
// the process, and should fail only this test.
TEST(RegistryString, ZeroBytesWithoutADataPointer) {
    EXPECT_EXIT(
        {
            char out[8] = "x";
            int accepted = decodeString(StoredValue{VALUE_SZ, nullptr, 0}, out, sizeof out);
            exit(accepted == 1 && out[0] == '\0' ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(RegistryString, WrongTypeKeepsTheBuffer) {
    for (uint32_t type : {uint32_t(VALUE_BINARY), uint32_t(VALUE_DWORD), VALUE_EXPAND_SZ, VALUE_MULTI_SZ}) {
        GuardedBuffer out(256);
        EXPECT_EQ(decodeString(valueOf(type, bytesOf(std::string("abc", 4))), out.data(), out.size), 0)
            << "type " << type;
        EXPECT_TRUE(out.untouched()) << "type " << type;
    }
}

TEST(RegistryString, MustFitWithItsTerminator) {
    // The 256-byte buffers of the templates and kinsoku sets.
    struct {
        size_t length;
        bool withNul;
        int accepted;
    } cases[] = {
        {255, true, 1},   // 256 bytes stored, exactly the buffer
        {255, false, 1},  // the terminator still fits
        {256, false, 0},  // no room left for the terminator
        {256, true, 0},
        {299, true, 0},
        {300, false, 0},
    };
    // A short text followed by more stored bytes than the buffer holds is
    // refused whole, as the platform would not have read it.
    GuardedBuffer oversized(256);
    std::string padded = std::string("ab", 3) + std::string(300, 'x');
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf(padded)), oversized.data(), oversized.size), 0);
    EXPECT_TRUE(oversized.untouched());
    for (auto& c : cases) {
        std::string text(c.length, 'k');
        if (c.withNul) text.push_back('\0');
        GuardedBuffer out(256);
        EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf(text)), out.data(), out.size), c.accepted)
            << c.length << " characters" << (c.withNul ? " and a NUL" : "");
        if (c.accepted) {
            EXPECT_EQ(strlen(out.data()), c.length);
            EXPECT_TRUE(out.guardsIntact());
        } else {
            EXPECT_TRUE(out.untouched());
        }
    }
}

TEST(RegistryString, FourByteDefaultExtension) {
    GuardedBuffer out(4);
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf(std::string("txt", 4))), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "txt");
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf("doc")), out.data(), out.size), 1);
    EXPECT_STREQ(out.data(), "doc");
    EXPECT_TRUE(out.guardsIntact());

    GuardedBuffer refused(4);
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf(std::string("html", 5))), refused.data(), refused.size), 0);
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, bytesOf("html")), refused.data(), refused.size), 0);
    EXPECT_TRUE(refused.untouched());
}

TEST(RegistryString, NoBufferAtAll) {
    char untouched = '#';
    EXPECT_EQ(decodeString(valueOf(VALUE_SZ, {0}), &untouched, 0), 0);
    EXPECT_EQ(untouched, '#');
}

std::vector<unsigned char> storedLogFont(const char* face, size_t faceBytes) {
    std::vector<unsigned char> bytes(LOGFONT_VALUE_SIZE, 0);
    for (int i = 0; i < LOGFONT_FACE_OFFSET; ++i) bytes[size_t(i)] = (unsigned char)(0xA0 + i);
    memcpy(&bytes[LOGFONT_FACE_OFFSET], face, faceBytes);
    return bytes;
}

TEST(RegistryLogFont, SixtyBytesCopiedWhole) {
    // "ＭＳ ゴシック" in code page 932.
    const char face[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
    std::vector<unsigned char> stored = storedLogFont(face, sizeof face);
    unsigned char out[LOGFONT_VALUE_SIZE];
    ASSERT_EQ(decodeLogFont(valueOf(VALUE_BINARY, stored), out), 1);
    EXPECT_EQ(memcmp(out, stored.data(), LOGFONT_VALUE_SIZE), 0);
}

TEST(RegistryLogFont, FaceWithoutTerminatorIsCutToThirtyOneBytes) {
    std::string face(LOGFONT_FACE_SIZE, 'F');
    std::vector<unsigned char> stored = storedLogFont(face.data(), face.size());
    unsigned char out[LOGFONT_VALUE_SIZE + 8];
    memset(out, '#', sizeof out);
    ASSERT_EQ(decodeLogFont(valueOf(VALUE_BINARY, stored), out), 1);
    EXPECT_EQ(strnlen(reinterpret_cast<char*>(out + LOGFONT_FACE_OFFSET), LOGFONT_FACE_SIZE),
              size_t(LOGFONT_FACE_SIZE - 1));
    EXPECT_EQ(memcmp(out, stored.data(), LOGFONT_FACE_OFFSET), 0);
    for (size_t i = LOGFONT_VALUE_SIZE; i < sizeof out; ++i) EXPECT_EQ(out[i], '#');
}

TEST(RegistryLogFont, WrongTypeOrSizeKeepsTheDescription) {
    const char face[] = "VL Gothic";
    std::vector<unsigned char> sixty = storedLogFont(face, sizeof face);
    std::vector<unsigned char> fiftyNine(sixty.begin(), sixty.end() - 1);
    std::vector<unsigned char> sixtyOne = sixty;
    sixtyOne.push_back(0);
    struct {
        uint32_t type;
        const std::vector<unsigned char>* bytes;
    } cases[] = {
        {VALUE_SZ, &sixty}, {VALUE_DWORD, &sixty}, {VALUE_BINARY, &fiftyNine}, {VALUE_BINARY, &sixtyOne},
    };
    for (auto& c : cases) {
        unsigned char out[LOGFONT_VALUE_SIZE];
        memset(out, '#', sizeof out);
        EXPECT_EQ(decodeLogFont(valueOf(c.type, *c.bytes), out), 0)
            << "type " << c.type << ", " << c.bytes->size() << " bytes";
        for (unsigned char byte : out) ASSERT_EQ(byte, '#');
    }
}

TEST(RegistryMargins, LittleEndianLeftTopRightBottom) {
    MarginBox out = {};
    ASSERT_EQ(decodeMargins(valueOf(VALUE_BINARY, {0xD0, 0x07, 0, 0, 0xE8, 0x03, 0, 0, 0x01, 0x02, 0x03, 0x04,
                                                   0xFF, 0xFF, 0xFF, 0xFF}),
                            &out),
              1);
    EXPECT_EQ(out.left, 2000);
    EXPECT_EQ(out.top, 1000);
    EXPECT_EQ(out.right, 0x04030201);
    EXPECT_EQ(out.bottom, -1);
}

TEST(RegistryMargins, EncodeGivesTheStoredBytesAndDecodesBack) {
    unsigned char bytes[MARGIN_VALUE_SIZE];
    encodeMargins(MarginBox{2000, 635, 1270, -2}, bytes);
    const unsigned char expected[MARGIN_VALUE_SIZE] = {0xD0, 0x07, 0, 0, 0x7B, 0x02, 0, 0,
                                                       0xF6, 0x04, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(memcmp(bytes, expected, sizeof bytes), 0);

    for (MarginBox m : {MarginBox{1, 2, 3, 4}, MarginBox{INT32_MIN, INT32_MAX, 0, -1}}) {
        encodeMargins(m, bytes);
        MarginBox back = {};
        ASSERT_EQ(decodeMargins(StoredValue{VALUE_BINARY, bytes, sizeof bytes}, &back), 1);
        EXPECT_EQ(back.left, m.left);
        EXPECT_EQ(back.top, m.top);
        EXPECT_EQ(back.right, m.right);
        EXPECT_EQ(back.bottom, m.bottom);
    }
}

TEST(RegistryMargins, WrongTypeOrSizeKeepsTheMargins) {
    std::vector<unsigned char> sixteen(16, 1);
    struct {
        uint32_t type;
        size_t size;
    } cases[] = {{VALUE_SZ, 16}, {VALUE_DWORD, 16}, {VALUE_BINARY, 15}, {VALUE_BINARY, 17}, {VALUE_BINARY, 0}};
    for (auto& c : cases) {
        std::vector<unsigned char> bytes(c.size, 1);
        MarginBox out = {2000, 2000, 2000, 2000};
        EXPECT_EQ(decodeMargins(valueOf(c.type, bytes), &out), 0) << "type " << c.type << ", " << c.size;
        EXPECT_EQ(out.left, 2000);
        EXPECT_EQ(out.bottom, 2000);
    }
}

TEST(RegistryOrientation, PortraitAndLandscapeRoundTrip) {
    for (int16_t orientation : {int16_t(ORIENTATION_PORTRAIT), int16_t(ORIENTATION_LANDSCAPE)}) {
        unsigned char bytes[ORIENTATION_VALUE_SIZE] = {0xEE, 0xEE};
        encodeOrientation(orientation, bytes);
        EXPECT_EQ(bytes[0], orientation);
        EXPECT_EQ(bytes[1], 0);
        int16_t back = 0;
        ASSERT_EQ(decodeOrientation(StoredValue{VALUE_BINARY, bytes, sizeof bytes}, &back), 1);
        EXPECT_EQ(back, orientation);
    }
}

TEST(RegistryOrientation, OnlyOneAndTwoAreOrientations) {
    const std::vector<std::vector<unsigned char>> refused = {
        {0, 0},
        {3, 0},
        {7, 0},
        {0xFF, 0xFF},  // -1
        {0, 2},        // 512: the high byte is not ignored
        {2, 1},        // 258
        {1, 0x80},
    };
    for (auto& bytes : refused) {
        int16_t out = 9;
        EXPECT_EQ(decodeOrientation(valueOf(VALUE_BINARY, bytes), &out), 0)
            << int(bytes[0]) << " " << int(bytes[1]);
        EXPECT_EQ(out, 9);
    }
}

TEST(RegistryOrientation, WrongTypeOrSizeKeepsTheOrientation) {
    struct {
        uint32_t type;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {VALUE_DWORD, {2, 0}}, {VALUE_SZ, {2, 0}}, {VALUE_BINARY, {2}}, {VALUE_BINARY, {2, 0, 0}},
        {VALUE_BINARY, {2, 0, 0, 0}}, {VALUE_DWORD, {2, 0, 0, 0}}, {VALUE_BINARY, {}},
    };
    for (auto& c : cases) {
        int16_t out = 9;
        EXPECT_EQ(decodeOrientation(valueOf(c.type, c.bytes), &out), 0)
            << "type " << c.type << ", " << c.bytes.size() << " bytes";
        EXPECT_EQ(out, 9);
    }
}

TEST(RegistryUsableValues, TabCountOfAtLeastOne) {
    EXPECT_FALSE(isUsableTabCount(0));
    EXPECT_FALSE(isUsableTabCount(-5));
    EXPECT_FALSE(isUsableTabCount(INT32_MIN));
    EXPECT_TRUE(isUsableTabCount(1));
    EXPECT_TRUE(isUsableTabCount(8));
    // The tab rule works in 64 bits, so any positive width is safe.
    EXPECT_TRUE(isUsableTabCount(INT32_MAX));
}

TEST(RegistryUsableValues, PreviewScaleFromOneToTenThousandPercent) {
    EXPECT_FALSE(isUsablePreviewScale(0));
    EXPECT_FALSE(isUsablePreviewScale(-1));
    EXPECT_FALSE(isUsablePreviewScale(INT32_MIN));
    EXPECT_FALSE(isUsablePreviewScale(10001));
    EXPECT_FALSE(isUsablePreviewScale(INT32_MAX));
    EXPECT_TRUE(isUsablePreviewScale(1));
    // An unusual zoom is used as stored, not only the menu's five.
    EXPECT_TRUE(isUsablePreviewScale(75));
    EXPECT_TRUE(isUsablePreviewScale(10000));
}

TEST(RegistryUsableValues, PointSizeFromOneToAThousandPoints) {
    EXPECT_FALSE(isUsablePointSize(0));
    EXPECT_FALSE(isUsablePointSize(9));
    EXPECT_FALSE(isUsablePointSize(-100));
    EXPECT_FALSE(isUsablePointSize(10001));
    EXPECT_FALSE(isUsablePointSize(INT32_MAX));
    EXPECT_TRUE(isUsablePointSize(10));
    EXPECT_TRUE(isUsablePointSize(105));
    EXPECT_TRUE(isUsablePointSize(10000));
}

}  // namespace
