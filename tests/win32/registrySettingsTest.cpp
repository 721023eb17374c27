// The settings store against Wine's real registry: what is written (names,
// types, byte counts), what comes back in this process and in a new one,
// the defaults without any key, and values that another program or a damaged
// registry could have left there.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "print/deviceFont.h"
#include "print/pageArithmetic.h"
#include "print/pageMetrics.h"
#include "printerFixture.h"
#include "registryFixture.h"
#include "settings/registrySettings.h"

namespace {

// Set by the parent test for the child process it starts.
const char childMarker[] = "PEMO_REGISTRY_CHILD";

void storeDword(const char* keyPath, const char* name, int32_t value) {
    storeValue(keyPath, name, REG_DWORD, &value, sizeof value);
}

void storeString(const char* keyPath, const char* name, const std::string& bytes) {
    storeValue(keyPath, name, REG_SZ, bytes.data(), bytes.size());
}

void deleteSettingsKeys() {
    RegDeleteTreeA(HKEY_CURRENT_USER, programKeyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, programKeyPath);
    RegDeleteTreeA(HKEY_CURRENT_USER, editorKeyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, editorKeyPath);
    // The vendor key goes too, but only when nothing else lives under it.
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\dalvek");
}

std::string dwordBytes(int32_t value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string withNul(const std::string& text) {
    return std::string(text.c_str(), text.size() + 1);
}

std::string devModeBytes(HGLOBAL devMode) {
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(devMode));
    std::string bytes(reinterpret_cast<const char*>(mode), mode->dmSize + mode->dmDriverExtra);
    GlobalUnlock(devMode);
    return bytes;
}

testing::AssertionResult sameRect(const RECT& actual, RECT expected) {
    if (EqualRect(&actual, &expected)) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "{" << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom
           << "} instead of {" << expected.left << "," << expected.top << "," << expected.right << ","
           << expected.bottom << "}";
}

// Everything the settings store may change, put back after each test.
struct SettingsGlobals {
    int32_t previewScale, pointSize;
    HeaderFooterSettings headerFooter;
    LayoutSettings layout;
    char pattern[OPEN_PATTERN_SIZE];
    char extension[DEFAULT_EXTENSION_SIZE];
    int16_t orientation;
    PAGESETUPDLGA pageSetup;
    HGLOBAL devMode, devNames;

    void capture() {
        previewScale = ::previewScale;
        pointSize = ::pointSize;
        headerFooter = headerFooterSettings;
        layout = layoutSettings;
        memcpy(pattern, openFilterPattern, sizeof pattern);
        memcpy(extension, defaultExtension, sizeof extension);
        orientation = savedOrientation;
        pageSetup = ::pageSetup;
        devMode = printerDevMode;
        devNames = printerDevNames;
    }
    void restore() const {
        ::previewScale = previewScale;
        ::pointSize = pointSize;
        headerFooterSettings = headerFooter;
        layoutSettings = layout;
        memcpy(openFilterPattern, pattern, sizeof pattern);
        memcpy(defaultExtension, extension, sizeof extension);
        savedOrientation = orientation;
        ::pageSetup = pageSetup;
        printerDevMode = devMode;
        printerDevNames = devNames;
    }
};

class RegistrySettings : public testing::Test {
protected:
    void SetUp() override {
        saved.capture();
        // The printer fixture frees what it finds in these: start from none.
        printerDevMode = printerDevNames = nullptr;
        deleteSettingsKeys();
    }
    void TearDown() override {
        releasePrinter();
        deleteSettingsKeys();
        saved.restore();
    }
    SettingsGlobals saved;
};

// ---------------------------------------------------------------------------
// What is written.

// The settings that the round-trip tests write, and a new process reads back.
const char headerCenterText[] = "ページ &P / &A";
const std::string longTemplate(TEMPLATE_SIZE - 1, 'x');
const MarginBox storedMargins = {1000, 1500, 2000, 2500};

LOGFONTA sampleLogFont() {
    LOGFONTA font = {};
    font.lfHeight = -13;
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(font.lfFaceName, "ＭＳ 明朝", LF_FACESIZE);
    return font;
}

void saveSampleSettings() {
    previewScale = 150;
    HeaderFooterSettings& s = headerFooterSettings;
    s.printHeader = 1;
    s.printFooter = 0;
    s.printLineNumber = 1;
    lstrcpyA(s.headerLeft, "&F");
    lstrcpyA(s.headerCenter, headerCenterText);
    lstrcpyA(s.headerRight, "");
    lstrcpyA(s.footerLeft, longTemplate.c_str());
    lstrcpyA(s.footerCenter, "&D &T");
    lstrcpyA(s.footerRight, "&U");
    EXPECT_EQ(savePreviewScale(), 1);
    EXPECT_EQ(saveFormatSettings(), 1);
    LOGFONTA font = sampleLogFont();
    EXPECT_EQ(saveFontSettings(&font, 105), 1);
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_LANDSCAPE, 0));
    RECT margins = {storedMargins.left, storedMargins.top, storedMargins.right, storedMargins.bottom};
    EXPECT_EQ(savePageSettings(&margins, printerDevMode), 1);
    releasePrinter();
}

void clobberSettings() {
    previewScale = 100;
    memset(&headerFooterSettings, 0, sizeof headerFooterSettings);
    pointSize = 100;
}

void expectSampleSettingsLoaded() {
    EXPECT_EQ(loadProgramSettings(), 1);
    EXPECT_EQ(previewScale, 150);
    const HeaderFooterSettings& s = headerFooterSettings;
    EXPECT_EQ(s.printHeader, 1);
    EXPECT_EQ(s.printFooter, 0);
    EXPECT_EQ(s.printLineNumber, 1);
    EXPECT_STREQ(s.headerLeft, "&F");
    EXPECT_STREQ(s.headerCenter, headerCenterText);
    EXPECT_STREQ(s.headerRight, "");
    EXPECT_EQ(std::string(s.footerLeft), longTemplate);
    EXPECT_STREQ(s.footerCenter, "&D &T");
    EXPECT_STREQ(s.footerRight, "&U");

    LOGFONTA font;
    setDefaultFontDescription(&font);
    int32_t size = 100;
    EXPECT_EQ(loadFontSettings(&font, &size), 1);
    LOGFONTA expected = sampleLogFont();
    EXPECT_EQ(memcmp(&font, &expected, sizeof font), 0) << font.lfFaceName;
    EXPECT_EQ(size, 105);

    // Stored landscape on a portrait printer.
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
    savedOrientation = 0;
    EXPECT_EQ(loadPageSettings(&pageSetup.rtMargin, printerDevMode, &pageSetup.ptPaperSize), 1);
    EXPECT_TRUE(sameRect(pageSetup.rtMargin, {1000, 1500, 2000, 2500}));
    EXPECT_EQ(savedOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(orientationOf(printerDevMode), DMORIENT_LANDSCAPE);
    EXPECT_EQ(pageSetup.ptPaperSize.x, 29700);
    EXPECT_EQ(pageSetup.ptPaperSize.y, 21000);
    releasePrinter();
}

TEST_F(RegistrySettings, ValuesAreStoredWithTheirNamesTypesAndSizes) {
    saveSampleSettings();
    const char* key = programKeyPath;

    struct {
        const char* name;
        int32_t value;
    } dwords[] = {{"preview scale", 150}, {"print header", 1}, {"print footer", 0},
                  {"print line number", 1}, {"point size", 105}};
    for (auto& d : dwords) {
        Stored v = queryValue(key, d.name);
        ASSERT_TRUE(v.found) << d.name;
        EXPECT_EQ(v.type, DWORD(REG_DWORD)) << d.name;
        EXPECT_EQ(v.bytes, dwordBytes(d.value)) << d.name;
    }

    struct {
        const char* name;
        std::string text;
    } templates[] = {{"header(left)", "&F"}, {"header(center)", headerCenterText}, {"header(right)", ""},
                     {"footer(left)", longTemplate}, {"footer(center)", "&D &T"}, {"footer(right)", "&U"}};
    for (auto& t : templates) {
        Stored v = queryValue(key, t.name);
        ASSERT_TRUE(v.found) << t.name;
        EXPECT_EQ(v.type, DWORD(REG_SZ)) << t.name;
        // With its NUL: the empty template is the NUL alone, one byte.
        EXPECT_EQ(v.bytes, withNul(t.text)) << t.name;
    }

    Stored font = queryValue(key, "logfont");
    EXPECT_EQ(font.type, DWORD(REG_BINARY));
    LOGFONTA expected = sampleLogFont();
    EXPECT_EQ(font.bytes, std::string(reinterpret_cast<const char*>(&expected), 60));

    Stored margin = queryValue(key, "margin");
    EXPECT_EQ(margin.type, DWORD(REG_BINARY));
    EXPECT_EQ(margin.bytes, std::string("\xE8\x03\0\0\xDC\x05\0\0\xD0\x07\0\0\xC4\x09\0\0", 16));
    Stored orientation = queryValue(key, "orientation");
    EXPECT_EQ(orientation.type, DWORD(REG_BINARY));
    EXPECT_EQ(orientation.bytes, std::string("\x02\0", 2));
    // Saving page setup adopts the printer's orientation.
    EXPECT_EQ(savedOrientation, DMORIENT_LANDSCAPE);

    // Nothing else is written into the program's key, and the editor's key is never created.
    HKEY handle;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle), ERROR_SUCCESS);
    DWORD values = 0, subkeys = 0;
    RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(handle);
    EXPECT_EQ(values, 14u);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_FALSE(keyExists(editorKeyPath));
}

TEST_F(RegistrySettings, SavedSettingsLoadBackInTheSameProcess) {
    saveSampleSettings();
    clobberSettings();
    expectSampleSettingsLoaded();
}

TEST_F(RegistrySettings, SavingAgainReplacesTheValues) {
    previewScale = 200;
    savePreviewScale();
    // The same zoom again is still written.
    storeDword(programKeyPath, "preview scale", 80);
    savePreviewScale();
    EXPECT_EQ(queryValue(programKeyPath, "preview scale").bytes, dwordBytes(200));

    lstrcpyA(headerFooterSettings.headerLeft, "a much longer template than the next one");
    saveFormatSettings();
    lstrcpyA(headerFooterSettings.headerLeft, "short");
    saveFormatSettings();
    EXPECT_EQ(queryValue(programKeyPath, "header(left)").bytes, withNul("short"));
    memset(headerFooterSettings.headerLeft, 'z', TEMPLATE_SIZE - 1);
    loadProgramSettings();
    EXPECT_STREQ(headerFooterSettings.headerLeft, "short");
}

// ---------------------------------------------------------------------------
// A new process: the registry outlives this one.

// Runs one of the DISABLED_ tests below in a new process of this executable.
// Gives its exit code and its output.
DWORD runInNewProcess(const char* testName, std::string* output) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string command = std::string("\"") + exe + "\" --gtest_filter=" + testName +
                          " --gtest_also_run_disabled_tests --gtest_output=";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return DWORD(-1);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    SetEnvironmentVariableA(childMarker, "1");
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process);
    SetEnvironmentVariableA(childMarker, nullptr);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return DWORD(-1);
    }
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &count, nullptr) && count) output->append(buffer, count);
    CloseHandle(readEnd);
    DWORD exitCode = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exitCode;
}

void expectPassedInNewProcess(const char* testName) {
    std::string output;
    DWORD exitCode = runInNewProcess(testName, &output);
    EXPECT_EQ(exitCode, 0u) << output;
    // A filter that matches nothing also exits with 0.
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
    EXPECT_EQ(output.find("SKIPPED"), std::string::npos) << output;
}

bool startedByTheParentTest() {
    return getenv(childMarker) != nullptr;
}

TEST_F(RegistrySettings, SavedSettingsSurviveARestart) {
    saveSampleSettings();
    expectPassedInNewProcess("RegistrySettingsInANewProcess.DISABLED_LoadsWhatTheParentSaved");
}

TEST_F(RegistrySettings, NoKeysAtAllGiveEveryDefault) {
    expectPassedInNewProcess("RegistrySettingsInANewProcess.DISABLED_StartsWithEveryDefault");
    EXPECT_FALSE(keyExists(programKeyPath));
    EXPECT_FALSE(keyExists(editorKeyPath));
}

TEST(RegistrySettingsInANewProcess, DISABLED_LoadsWhatTheParentSaved) {
    if (!startedByTheParentTest()) GTEST_SKIP() << "started by RegistrySettings.SavedSettingsSurviveARestart";
    expectSampleSettingsLoaded();
}

TEST(RegistrySettingsInANewProcess, DISABLED_StartsWithEveryDefault) {
    if (!startedByTheParentTest()) GTEST_SKIP() << "started by RegistrySettings.NoKeysAtAllGiveEveryDefault";
    // The start-up order: the program's key, the editor's key, later the font.
    EXPECT_EQ(loadProgramSettings(), 0);
    EXPECT_EQ(loadEditorSettings(), 0);
    EXPECT_EQ(previewScale, 100);
    const HeaderFooterSettings& s = headerFooterSettings;
    EXPECT_EQ(s.printHeader, 0);
    EXPECT_EQ(s.printFooter, 0);
    EXPECT_EQ(s.printLineNumber, 0);
    for (const char* text : {s.headerLeft, s.headerCenter, s.headerRight, s.footerLeft, s.footerCenter,
                             s.footerRight}) {
        EXPECT_STREQ(text, "");
    }
    const LayoutSettings& l = layoutSettings;
    EXPECT_EQ(l.tabCount, 4);
    EXPECT_EQ(l.wordWrap, 0);
    EXPECT_EQ(l.kinsoku, 0);
    EXPECT_STREQ(l.kinsokuLineStart, defaultKinsokuLineStart);
    EXPECT_STREQ(l.kinsokuHanging, defaultKinsokuHanging);
    EXPECT_STREQ(l.kinsokuLineEnd, defaultKinsokuLineEnd);
    EXPECT_STREQ(openFilterPattern, "*.txt;*.ini;*.bat;*.cpp;*.c;*.h;*.htm*");
    EXPECT_STREQ(defaultExtension, "txt");

    LOGFONTA font, expected;
    setDefaultFontDescription(&font);
    setDefaultFontDescription(&expected);
    pointSize = 100;
    EXPECT_EQ(loadFontSettings(&font, &pointSize), 0);
    EXPECT_EQ(memcmp(&font, &expected, sizeof font), 0);
    EXPECT_STREQ(font.lfFaceName, "ＭＳ ゴシック");
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(pointSize, 100);
    EXPECT_EQ(savedOrientation, 0);

    // Reading never creates a key.
    EXPECT_FALSE(keyExists(programKeyPath));
    EXPECT_FALSE(keyExists(editorKeyPath));
}

// ---------------------------------------------------------------------------
// The sibling editor's key.

TEST_F(RegistrySettings, EditorKeyIsReadAsTheEditorWroteIt) {
    const char* key = editorKeyPath;
    storeDword(key, "tab count", 8);
    storeDword(key, "word wraps", 1);
    storeDword(key, "kinsoku", 1);
    storeString(key, "kinsoku1", withNul("）」"));
    storeString(key, "kinsoku2", withNul("、。"));
    storeString(key, "kinsoku3", withNul("（「"));
    storeString(key, "text filter", withNul("*.log"));
    storeString(key, "default ext", withNul("log"));
    HKEY handle;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle), ERROR_SUCCESS);
    FILETIME before = {}, after = {};
    RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, &before);
    RegCloseKey(handle);

    EXPECT_EQ(loadEditorSettings(), 1);

    const LayoutSettings& l = layoutSettings;
    EXPECT_EQ(l.tabCount, 8);
    EXPECT_EQ(l.wordWrap, 1);
    EXPECT_EQ(l.kinsoku, 1);
    EXPECT_STREQ(l.kinsokuLineStart, "）」");
    EXPECT_STREQ(l.kinsokuHanging, "、。");
    EXPECT_STREQ(l.kinsokuLineEnd, "（「");
    EXPECT_STREQ(openFilterPattern, "*.log");
    EXPECT_STREQ(defaultExtension, "log");

    // Only read: the key is as the editor left it.
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, &after);
    RegCloseKey(handle);
    EXPECT_EQ(values, 8u);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST_F(RegistrySettings, EditorDefaultsComeBackBeforeTheKeyIsRead) {
    // Whatever the sets held before, a missing key leaves the built-in ones.
    strcpy(layoutSettings.kinsokuLineStart, "junk");
    strcpy(layoutSettings.kinsokuHanging, "junk");
    strcpy(layoutSettings.kinsokuLineEnd, "junk");
    strcpy(openFilterPattern, "junk");
    strcpy(defaultExtension, "jk");
    EXPECT_EQ(loadEditorSettings(), 0);
    EXPECT_STREQ(layoutSettings.kinsokuLineStart, defaultKinsokuLineStart);
    EXPECT_STREQ(layoutSettings.kinsokuHanging, defaultKinsokuHanging);
    EXPECT_STREQ(layoutSettings.kinsokuLineEnd, defaultKinsokuLineEnd);
    EXPECT_STREQ(openFilterPattern, "*.txt;*.ini;*.bat;*.cpp;*.c;*.h;*.htm*");
    EXPECT_STREQ(defaultExtension, "txt");
    EXPECT_FALSE(keyExists(editorKeyPath));

    // An existing key with only some values keeps the defaults of the others.
    storeDword(editorKeyPath, "tab count", 2);
    strcpy(layoutSettings.kinsokuHanging, "junk");
    EXPECT_EQ(loadEditorSettings(), 1);
    EXPECT_EQ(layoutSettings.tabCount, 2);
    EXPECT_STREQ(layoutSettings.kinsokuHanging, defaultKinsokuHanging);
    EXPECT_STREQ(defaultExtension, "txt");
}

// ---------------------------------------------------------------------------
// Values the program cannot use: each keeps its default, and nothing next to
// the variable is touched.

const std::string oversized(300, 'o');             // 299 characters and a NUL below
const std::string fullWithoutNul(256, 'n');        // no room left for the terminator
const std::string pastTheReadBuffer(600, 'p');     // more than any setting can hold

TEST_F(RegistrySettings, UnusableNumbersKeepTheirDefaults) {
    const char* key = programKeyPath;
    struct {
        DWORD type;
        std::string bytes;
    } scales[] = {
        {REG_DWORD, dwordBytes(0)},     {REG_DWORD, dwordBytes(-1)},
        {REG_DWORD, dwordBytes(INT32_MAX)}, {REG_DWORD, dwordBytes(1000000)},
        {REG_BINARY, dwordBytes(75)},   {REG_SZ, withNul("75")},
        {REG_QWORD, std::string("\x4B\0\0\0\0\0\0\0", 8)}, {REG_DWORD, std::string("\x4B\0", 2)},
    };
    for (auto& c : scales) {
        storeValue(key, "preview scale", c.type, c.bytes.data(), c.bytes.size());
        previewScale = 100;
        EXPECT_EQ(loadProgramSettings(), 1);
        EXPECT_EQ(previewScale, 100) << "type " << c.type << ", " << c.bytes.size() << " bytes";
    }
    // An unusual zoom is the user's own: used as stored.
    storeDword(key, "preview scale", 75);
    loadProgramSettings();
    EXPECT_EQ(previewScale, 75);

    storeValue(key, "print header", REG_SZ, "1", 2);
    storeValue(key, "print footer", REG_BINARY, "\1\0", 2);
    headerFooterSettings.printHeader = headerFooterSettings.printFooter = 0;
    loadProgramSettings();
    EXPECT_EQ(headerFooterSettings.printHeader, 0);
    EXPECT_EQ(headerFooterSettings.printFooter, 0);

    for (int32_t size : {0, -100, 5, INT32_MAX}) {
        storeDword(key, "point size", size);
        LOGFONTA font;
        setDefaultFontDescription(&font);
        int32_t loaded = 100;
        EXPECT_EQ(loadFontSettings(&font, &loaded), 1);
        EXPECT_EQ(loaded, 100) << size;
    }
    storeValue(key, "point size", REG_BINARY, "\x78\0\0\0", 4);
    int32_t loaded = 100;
    LOGFONTA font;
    loadFontSettings(&font, &loaded);
    EXPECT_EQ(loaded, 100);
    storeDword(key, "point size", 120);
    loadFontSettings(&font, &loaded);
    EXPECT_EQ(loaded, 120);
}

TEST_F(RegistrySettings, UnusableTemplatesKeepTheirText) {
    struct {
        DWORD type;
        std::string bytes;
    } cases[] = {
        {REG_SZ, withNul(std::string(299, 'o'))}, {REG_SZ, oversized}, {REG_SZ, fullWithoutNul},
        {REG_SZ, withNul(std::string(256, 'n'))}, {REG_SZ, pastTheReadBuffer},
        {REG_BINARY, withNul("&P")}, {REG_EXPAND_SZ, withNul("&P")}, {REG_MULTI_SZ, std::string("&P\0\0", 4)},
        {REG_DWORD, dwordBytes(0x00005026)},
    };
    for (auto& c : cases) {
        storeValue(programKeyPath, "header(left)", c.type, c.bytes.data(), c.bytes.size());
        lstrcpyA(headerFooterSettings.headerLeft, "kept");
        lstrcpyA(headerFooterSettings.headerCenter, "neighbour");
        EXPECT_EQ(loadProgramSettings(), 1);
        EXPECT_STREQ(headerFooterSettings.headerLeft, "kept") << "type " << c.type << ", " << c.bytes.size();
        EXPECT_STREQ(headerFooterSettings.headerCenter, "neighbour");
    }
    // 255 characters are the most a template holds; stored with or without the NUL.
    std::string longest(TEMPLATE_SIZE - 1, 'L');
    for (const std::string& bytes : {longest, withNul(longest)}) {
        storeString(programKeyPath, "header(left)", bytes);
        memset(headerFooterSettings.headerLeft, '#', TEMPLATE_SIZE);
        lstrcpyA(headerFooterSettings.headerCenter, "neighbour");
        loadProgramSettings();
        EXPECT_EQ(std::string(headerFooterSettings.headerLeft), longest) << bytes.size() << " bytes";
        EXPECT_STREQ(headerFooterSettings.headerCenter, "neighbour");
    }
}

TEST_F(RegistrySettings, UnusableEditorValuesKeepTheirDefaults) {
    const char* key = editorKeyPath;
    for (int32_t tabs : {0, -5, INT32_MIN}) {
        storeDword(key, "tab count", tabs);
        layoutSettings.tabCount = 4;
        EXPECT_EQ(loadEditorSettings(), 1);
        EXPECT_EQ(layoutSettings.tabCount, 4) << tabs;
    }
    storeString(key, "tab count", withNul("8"));
    loadEditorSettings();
    EXPECT_EQ(layoutSettings.tabCount, 4);
    storeValue(key, "word wraps", REG_BINARY, "\1\0\0\0", 4);
    storeValue(key, "kinsoku", REG_SZ, "1", 2);
    layoutSettings.wordWrap = layoutSettings.kinsoku = 0;
    loadEditorSettings();
    EXPECT_EQ(layoutSettings.wordWrap, 0);
    EXPECT_EQ(layoutSettings.kinsoku, 0);

    for (const std::string& bytes : {oversized, fullWithoutNul, withNul(fullWithoutNul), pastTheReadBuffer}) {
        storeString(key, "kinsoku1", bytes);
        storeString(key, "kinsoku2", bytes);
        storeString(key, "kinsoku3", bytes);
        storeString(key, "text filter", bytes);
        storeString(key, "default ext", bytes);
        EXPECT_EQ(loadEditorSettings(), 1);
        EXPECT_STREQ(layoutSettings.kinsokuLineStart, defaultKinsokuLineStart) << bytes.size() << " bytes";
        EXPECT_STREQ(layoutSettings.kinsokuHanging, defaultKinsokuHanging);
        EXPECT_STREQ(layoutSettings.kinsokuLineEnd, defaultKinsokuLineEnd);
        EXPECT_STREQ(openFilterPattern, "*.txt;*.ini;*.bat;*.cpp;*.c;*.h;*.htm*");
        EXPECT_STREQ(defaultExtension, "txt");
    }

    // The smaller buffers at their exact limits: 127 and 3 characters fit, 128 and 4 do not.
    storeString(key, "text filter", withNul(std::string(127, 'f')));
    storeString(key, "default ext", "htm");
    loadEditorSettings();
    EXPECT_EQ(std::string(openFilterPattern), std::string(127, 'f'));
    EXPECT_STREQ(defaultExtension, "htm");
    storeString(key, "text filter", std::string(128, 'f'));
    storeString(key, "default ext", withNul("html"));
    loadEditorSettings();
    EXPECT_STREQ(openFilterPattern, "*.txt;*.ini;*.bat;*.cpp;*.c;*.h;*.htm*");
    EXPECT_STREQ(defaultExtension, "txt");
    // The layout never sees a tab count it cannot divide by.
    EXPECT_GE(layoutSettings.tabCount, 1);
}

TEST_F(RegistrySettings, UnusableFontDescriptionsKeepTheDefault) {
    LOGFONTA sample = sampleLogFont();
    std::string sixty(reinterpret_cast<const char*>(&sample), sizeof sample);
    struct {
        DWORD type;
        std::string bytes;
    } cases[] = {
        {REG_BINARY, sixty.substr(0, 59)}, {REG_BINARY, sixty + '\0'}, {REG_BINARY, ""},
        {REG_SZ, sixty}, {REG_DWORD, sixty.substr(0, 4)},
    };
    for (auto& c : cases) {
        storeValue(programKeyPath, "logfont", c.type, c.bytes.data(), c.bytes.size());
        struct {
            LOGFONTA font;
            char after[16];
        } guarded;
        memset(guarded.after, '#', sizeof guarded.after);
        setDefaultFontDescription(&guarded.font);
        LOGFONTA expected;
        setDefaultFontDescription(&expected);
        int32_t size = 100;
        EXPECT_EQ(loadFontSettings(&guarded.font, &size), 1);
        EXPECT_EQ(memcmp(&guarded.font, &expected, sizeof expected), 0)
            << "type " << c.type << ", " << c.bytes.size() << " bytes";
        EXPECT_EQ(std::string(guarded.after, 16), std::string(16, '#'));
    }
}

TEST_F(RegistrySettings, FaceNameWithoutTerminatorIsCut) {
    LOGFONTA stored = sampleLogFont();
    memset(stored.lfFaceName, 'F', LF_FACESIZE);
    storeValue(programKeyPath, "logfont", REG_BINARY, &stored, sizeof stored);
    struct {
        LOGFONTA font;
        char after[16];
    } guarded;
    memset(guarded.after, '#', sizeof guarded.after);
    setDefaultFontDescription(&guarded.font);
    int32_t size = 100;
    ASSERT_EQ(loadFontSettings(&guarded.font, &size), 1);
    EXPECT_EQ(std::string(guarded.font.lfFaceName), std::string(LF_FACESIZE - 1, 'F'));
    EXPECT_EQ(guarded.font.lfWeight, FW_BOLD);
    EXPECT_EQ(guarded.font.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(std::string(guarded.after, 16), std::string(16, '#'));
    // A font can be made from it.
    HFONT font = CreateFontIndirectA(&guarded.font);
    EXPECT_NE(font, nullptr);
    DeleteObject(font);
}

// ---------------------------------------------------------------------------
// Margins and orientation on a real printer's DEVMODE.

class StoredPageSettings : public RegistrySettings {
protected:
    void SetUp() override {
        RegistrySettings::SetUp();
        ASSERT_TRUE(selectPrinter("PDF", DMORIENT_PORTRAIT, 2000));
        savedOrientation = 0;
    }
    int load() { return loadPageSettings(&pageSetup.rtMargin, printerDevMode, &pageSetup.ptPaperSize); }
    void storeMargins(MarginBox m) { storeValue(programKeyPath, "margin", REG_BINARY, &m, sizeof m); }
    void storeOrientation(int16_t o) { storeValue(programKeyPath, "orientation", REG_BINARY, &o, sizeof o); }
};

TEST_F(StoredPageSettings, LandscapeOnAPortraitPrinterTurnsThePrinterAndThePaper) {
    storeMargins({1000, 1200, 1400, 1600});
    storeOrientation(DMORIENT_LANDSCAPE);

    EXPECT_EQ(load(), 1);

    EXPECT_EQ(orientationOf(printerDevMode), DMORIENT_LANDSCAPE);
    EXPECT_EQ(savedOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(pageSetup.ptPaperSize.x, 29700);
    EXPECT_EQ(pageSetup.ptPaperSize.y, 21000);
    // Stored with that orientation: not turned again.
    EXPECT_TRUE(sameRect(pageSetup.rtMargin, {1000, 1200, 1400, 1600}));
    // The printer really prints wide now.
    HDC printer = createPrinterDC();
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(GetDeviceCaps(printer, PHYSICALWIDTH), 3508);
    EXPECT_EQ(GetDeviceCaps(printer, PHYSICALHEIGHT), 2479);
    DeleteDC(printer);
}

TEST_F(StoredPageSettings, PortraitOnALandscapePrinterTurnsBack) {
    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_LANDSCAPE, 2000));
    storeOrientation(DMORIENT_PORTRAIT);
    EXPECT_EQ(load(), 1);
    EXPECT_EQ(orientationOf(printerDevMode), DMORIENT_PORTRAIT);
    EXPECT_EQ(savedOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(pageSetup.ptPaperSize.x, 21000);
    EXPECT_EQ(pageSetup.ptPaperSize.y, 29700);
}

TEST_F(StoredPageSettings, SameOrientationChangesNothingButTheMargins) {
    storeMargins({500, 600, 700, 800});
    storeOrientation(DMORIENT_PORTRAIT);
    std::string before = devModeBytes(printerDevMode);
    EXPECT_EQ(load(), 1);
    EXPECT_EQ(devModeBytes(printerDevMode), before);
    EXPECT_EQ(savedOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(pageSetup.ptPaperSize.x, 21000);
    EXPECT_EQ(pageSetup.ptPaperSize.y, 29700);
    EXPECT_TRUE(sameRect(pageSetup.rtMargin, {500, 600, 700, 800}));
}

TEST_F(StoredPageSettings, NoStoredOrientationTakesThePrinters) {
    storeMargins({500, 600, 700, 800});
    std::string before = devModeBytes(printerDevMode);
    EXPECT_EQ(load(), 1);
    EXPECT_EQ(savedOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(devModeBytes(printerDevMode), before);
    EXPECT_EQ(pageSetup.ptPaperSize.x, 21000);
    EXPECT_TRUE(sameRect(pageSetup.rtMargin, {500, 600, 700, 800}));

    ASSERT_TRUE(selectPrinter("PDF", DMORIENT_LANDSCAPE, 2000));
    savedOrientation = 0;
    load();
    EXPECT_EQ(savedOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(pageSetup.ptPaperSize.x, 29700);
}

TEST_F(StoredPageSettings, NoKeyTakesThePrintersOrientationAndKeepsTheMargins) {
    EXPECT_EQ(load(), 0);
    EXPECT_EQ(savedOrientation, DMORIENT_PORTRAIT);
    EXPECT_TRUE(sameRect(pageSetup.rtMargin, {2000, 2000, 2000, 2000}));
    EXPECT_EQ(pageSetup.ptPaperSize.x, 21000);
    EXPECT_FALSE(keyExists(programKeyPath));
}

TEST_F(StoredPageSettings, UnusableValuesCountAsMissing) {
    std::string before = devModeBytes(printerDevMode);
    struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"orientation", REG_BINARY, std::string("\x07\0", 2)},
        {"orientation", REG_BINARY, std::string("\0\0", 2)},
        {"orientation", REG_BINARY, std::string("\x02\0\0", 3)},
        {"orientation", REG_BINARY, std::string("\x02", 1)},
        {"orientation", REG_DWORD, dwordBytes(2)},
        {"orientation", REG_SZ, withNul("2")},
        {"margin", REG_BINARY, std::string(15, '\x01')},
        {"margin", REG_BINARY, std::string(17, '\x01')},
        {"margin", REG_SZ, std::string(16, '\x01')},
        {"margin", REG_DWORD, dwordBytes(1000)},
    };
    for (auto& c : cases) {
        deleteSettingsKeys();
        storeValue(programKeyPath, c.name, c.type, c.bytes.data(), c.bytes.size());
        savedOrientation = 0;
        pageSetup.rtMargin = RECT{2000, 2000, 2000, 2000};
        EXPECT_EQ(load(), 1);
        EXPECT_EQ(savedOrientation, DMORIENT_PORTRAIT) << c.name << " type " << c.type << ", " << c.bytes.size();
        EXPECT_EQ(devModeBytes(printerDevMode), before) << c.name << " type " << c.type << ", " << c.bytes.size();
        EXPECT_EQ(pageSetup.ptPaperSize.x, 21000);
        EXPECT_TRUE(sameRect(pageSetup.rtMargin, {2000, 2000, 2000, 2000}));
    }
}

TEST_F(StoredPageSettings, SavingStoresThePrintersOrientation) {
    // Whatever savedOrientation said, the DEVMODE decides.
    savedOrientation = DMORIENT_LANDSCAPE;
    RECT margins = {1, 2, 3, 4};
    EXPECT_EQ(savePageSettings(&margins, printerDevMode), 1);
    EXPECT_EQ(queryValue(programKeyPath, "orientation").bytes, std::string("\x01\0", 2));
    EXPECT_EQ(savedOrientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(queryValue(programKeyPath, "margin").bytes,
              std::string("\x01\0\0\0\x02\0\0\0\x03\0\0\0\x04\0\0\0", 16));
}

}  // namespace
