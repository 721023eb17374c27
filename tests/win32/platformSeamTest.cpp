// The core answers some platform questions itself; these tests hold those
// answers against the platform's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/appInstance.h"
#include "app/resource.h"
#include "layout/layoutSettings.h"

TEST(PlatformSeam, RunsInCodePage932) {
    ASSERT_EQ(GetACP(), 932u) << "the tests need a Japanese locale (LANG=ja_JP.UTF-8)";
}

TEST(PlatformSeam, LeadBytesAreTheCodePage932Ranges) {
    for (int byte = 0; byte < 256; ++byte) {
        bool expected = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        EXPECT_EQ(IsDBCSLeadByte(BYTE(byte)) != 0, expected) << "byte " << byte;
    }
}

TEST(PlatformSeam, StringTableHoldsTheBuiltInKinsokuSets) {
    struct {
        UINT id;
        const char* expected;
    } entries[] = {
        {IDS_KINSOKU_LINE_START, defaultKinsokuLineStart},
        {IDS_KINSOKU_HANGING, defaultKinsokuHanging},
        {IDS_KINSOKU_LINE_END, defaultKinsokuLineEnd},
    };
    for (auto& entry : entries) {
        char text[KINSOKU_SET_SIZE] = "";
        LoadStringA(appInstance, entry.id, text, sizeof text);
        EXPECT_STREQ(text, entry.expected) << "string " << entry.id;
    }
    char format[64] = "";
    LoadStringA(appInstance, IDS_READ_FAILED, format, sizeof format);
    EXPECT_STREQ(format, "%1 の読み込みに失敗しました。");
}
