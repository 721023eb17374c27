// Filtered loads: a rules file beside this program, named from the module
// path as pemo.ini is beside pemoPrint.exe, real filter processes and
// pipes, and the converter that ships with the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "dialogAnswerer.h"
#include "document/documentLoader.h"
#include "document/documentNames.h"
#include "document/lineList.h"
#include "filter/filterConsole.h"
#include "filter/filterSwitch.h"
#include "layout/layoutSettings.h"

namespace {

#define PROSE "吾輩は猫である。名前はまだ無い。\r\nどこで生れたか頓と見当がつかぬ。\r\n"

std::string temp(const std::string& name) {
    char folder[MAX_PATH];
    return std::string(folder, GetTempPathA(MAX_PATH, folder)) + name;
}

std::string utf16(int bigEndian) {
    std::string bytes(reinterpret_cast<const char*>(u"\uFEFF" PROSE), sizeof u"" PROSE);
    for (size_t i = 0; bigEndian && i < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

// NumOfFilter -1 reads as ten sections; the ninth, absent, applies to every
// file that the eight before it leave, and has no filter.
const std::string rulesText = "[Initialize]\nNumOfFilter=-1\n[Filter1]\nSuffixes=.echo\n"
    "InputFilter=cmd /c echo t&T x^&T\n[Filter2]\nSuffixes=.none\nInputFilter=cmd /c type nul\n"
    "[Filter3]\nSuffixes=.bad\nInputFilter=noSuchFilter.exe\n[Filter4]\nSuffixes=.direct\n"
    "[Filter5]\nSuffixes=.u8, .u16\t.sjis\nInputFilter=sjisConverter.exe\n[Filter6]\n"
    "Suffixes=.quiet\nInputFilter=sjisConverter.exe\nConsole=0\n[Filter7]\nSuffixes=.long\n"
    "InputFilter=cmd /c echo " + std::string(250, 'x') + "\n[Filter8]\nInputFilter=cmd /c echo folder\n";

struct RulesFile {
    std::string path, folder = temp("フィルタ");
    RulesFile() {
        char module[MAX_PATH];
        path = std::string(module, GetModuleFileNameA(nullptr, module, MAX_PATH) - 9) + ".ini";
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream(path, std::ios::binary) << rulesText << "Directory=" << CharUpperA(&folder[0]);
        layoutSettings.tabCount = 8;
    }
    ~RulesFile() {
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
};

TEST(FilterRunner, LoadsThroughTheRuleOfEachFile) {
    RulesFile rules;
    const int CONTROL = 1, CANCEL = 2;
    const struct { const char* name; std::string bytes; int keys, ok; std::string text; }
    cases[] = {
        {"a.bad", "x", 0, 0, ""}, {"a.long", "x", 0, 0, ""}, {"a.none", "x", 0, 0, ""},
        {"a.echo", "direct", 0, 1, "t8 x&T\r\n"}, {"a.echo", "direct", CONTROL, 1, "direct"},
        {"a.echo", "direct", CANCEL, 1, "direct"}, {"フィルタ\\a.txt", "x", 0, 1, "folder\r\n"},
        {"a.direct", "direct", 0, 1, "direct"}, {"a.u8", u8"" PROSE, 0, 1, PROSE},
        {"b.u8", u8"\uFEFF" PROSE "é", 0, 1, PROSE "?"}, {"a.sjis", PROSE, 0, 1, PROSE},
        {"a.u16", utf16(0), 0, 1, PROSE}, {"b.u16", utf16(1), 0, 1, PROSE},
    };
    for (const auto& c : cases) {
        std::ofstream(temp(c.name), std::ios::binary) << c.bytes;
        lstrcpynA(documentPath, temp(c.name).c_str(), PATH_BUFFER_SIZE);
        HANDLE input = GetStdHandle(STD_INPUT_HANDLE), output = GetStdHandle(STD_OUTPUT_HANDLE);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = c.keys & CONTROL ? 0x80 : 0;
        SetKeyboardState(keys);
        filterCancel = c.keys & CANCEL;
        size_t messages = 0;
        DialogAnswerer answerer([&](HWND) { return ++messages, IDOK; });
        EXPECT_EQ(loadDocument(nullptr), c.ok) << c.name;
        keys[VK_CONTROL] = filterCancel = 0;
        SetKeyboardState(keys);
        std::string text;
        for (LineNode* line = head; line; line = line->next) {
            text += line->text + std::string(line->next ? "\r\n" : "");
        }
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(messages, c.ok ? 0u : 1u) << c.name;
        EXPECT_EQ(GetStdHandle(STD_INPUT_HANDLE), input) << c.name;
        EXPECT_EQ(GetStdHandle(STD_OUTPUT_HANDLE), output) << c.name;
        if (!c.ok) { EXPECT_TRUE(waitForFilterConsole(20000)) << c.name; }  // shares come back
        DeleteFileA(temp(c.name).c_str());
    }
    clearLineList();
}

// Half a megabyte of output waits for its reader, so the filter runs until
// it is read. The feeder of a filter that ignores its input stops.
TEST(FilterRunner, ConsoleIsHeldOnlyWhenAskedForAndUntilTheFilterEnds) {
    RulesFile rules;
    std::string prose, text;
    for (int i = 0; i < 8000; ++i) prose += u8"" PROSE, text += PROSE;
    const struct { const char* name; long users; std::string text; } cases[] = {
        {"big.quiet", 0, text}, {"big.u8", 1, text}, {"big.echo", -1, "t8 x&T\r\n"}};
    for (const auto& c : cases) {
        std::ofstream(temp(c.name), std::ios::binary) << prose;
        HANDLE input = openInput(temp(c.name).c_str());
        ASSERT_NE(input, INVALID_HANDLE_VALUE) << c.name;
        std::string got(text.size() + 1, '\0');
        DWORD n = 0, total = 0;
        for (; ReadFile(input, &got[total], DWORD(got.size() - total), &n, nullptr) && n; total += n) {
            // Some output came, so the filter has all its input, and still runs.
            if (total == 0 && c.users >= 0) { EXPECT_EQ(filterConsoleUsers(), c.users) << c.name; }
        }
        CloseHandle(input);
        EXPECT_TRUE(got.substr(0, total) == c.text) << c.name << ": " << total << " bytes";
        EXPECT_TRUE(waitForFilterConsole(20000)) << c.name;  // the feeder has closed the file
        DeleteFileA(temp(c.name).c_str());
    }
}

}  // namespace
