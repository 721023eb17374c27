#include "filterConfig.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "../app/ansiText.h"
#include "../document/documentNames.h"
#include "../layout/layoutSettings.h"
#include "filterRules.h"
#include "rulesText.h"
#include "filterSwitch.h"

namespace {

enum { RULES_FILE_LIMIT = 1 << 20 };

// Reads a text value into `buffer`; 0 when the value does not fit in `size`
// bytes, so that no cut folder, suffix list or command is ever used.
int readRuleText(RulesText rules, const char* section, const char* key, char* buffer, int size) {
    long length = findRuleValue(rules, section, key, buffer, size_t(size));
    if (length < 0) buffer[0] = '\0';
    return length < size;
}

int ruleApplies(RulesText rules, const char* section, const char* path) {
    char folder[PATH_BUFFER_SIZE];
    if (!readRuleText(rules, section, "Directory", folder, sizeof folder)) return 0;
    if (folder[0] && !startsWithFolder(path, folder)) return 0;
    char suffixes[FILTER_SUFFIXES_SIZE];
    if (!readRuleText(rules, section, "Suffixes", suffixes, sizeof suffixes)) return 0;
    return matchesSuffixes(path, suffixes);
}

int readRuleCommand(RulesText rules, const char* section, char* command, int commandSize) {
    if (!readRuleText(rules, section, "InputFilter", command, commandSize) ||
        !expandTabCode(command, commandSize, layoutSettings.tabCount)) {
        command[0] = '\0';
        return FILTER_UNUSABLE;
    }
    return findRuleNumber(rules, section, "Console", 1) ? 1 : 0;
}

// The rules file's text in code page 932: as it is, or from UTF-8 or UTF-16
// (either byte order) after a byte-order mark, which editors on any system
// write. A missing file has no rules; one that is there but cannot be read
// whole (held by another program, larger than any rules file, no memory)
// gives 0: its rules are unknown, and reading the document raw could print
// it as the wrong text.
struct RulesFileText {
    char* bytes = nullptr;
    size_t size = 0;
    ~RulesFileText() { delete[] bytes; }

    int read(const wchar_t* path) {
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        }
        DWORD fileSize = GetFileSize(file, nullptr), got = 0;
        bytes = fileSize <= RULES_FILE_LIMIT ? new (std::nothrow) char[2 * fileSize + 2] : nullptr;
        const bool whole = bytes && ReadFile(file, bytes, fileSize, &got, nullptr) && got == fileSize;
        CloseHandle(file);
        if (!whole) return 0;
        size = got;
        if (size >= 3 && !memcmp(bytes, "\xEF\xBB\xBF", 3)) return fromUtf8();
        const bool little = size >= 2 && !memcmp(bytes, "\xFF\xFE", 2), big = size >= 2 && !memcmp(bytes, "\xFE\xFF", 2);
        for (size_t i = 0; big && i + 1 < size; i += 2) std::swap(bytes[i], bytes[i + 1]);
        return little || big ? fromUtf16(bytes + 2, int(size / 2 - 1)) : 1;
    }
    int fromUtf8() {
        wchar_t* wide = new (std::nothrow) wchar_t[size];
        int units = wide ? MultiByteToWideChar(CP_UTF8, 0, bytes + 3, int(size - 3), wide, int(size)) : 0;
        int converted = wide && fromUtf16(reinterpret_cast<char*>(wide), units);
        delete[] wide;
        return converted;
    }
    // Two bytes at most a unit: the buffer holds them.
    int fromUtf16(const char* units, int count) {
        uint16_t* wide = new (std::nothrow) uint16_t[size_t(count) + 1];
        if (wide && count) memcpy(wide, units, size_t(count) * 2);
        size = wide ? size_t(wideTo932(wide, count, bytes, int(2 * size + 2))) : 0;
        delete[] wide;
        return wide != nullptr;
    }
};

int findFilterInText(RulesText rules, const char* path, char* command, int commandSize) {
    uint32_t count = limitFilterCount(findRuleNumber(rules, "Initialize", "NumOfFilter", 0));
    for (uint32_t n = 1; n <= count; ++n) {
        char section[32];
        snprintf(section, sizeof section, "Filter%u", unsigned(n));
        if (ruleApplies(rules, section, path)) return readRuleCommand(rules, section, command, commandSize);
    }
    return 0;
}

}  // namespace

int findFilterInFile(const wchar_t* configPath, const char* path, char* command, int commandSize) {
    RulesFileText file;
    if (!file.read(configPath)) {
        command[0] = '\0';
        return FILTER_UNUSABLE;
    }
    return findFilterInText(RulesText{file.bytes, file.size}, path, command, commandSize);
}

int findFilter(const char* path, char* command, int commandSize) {
    if (GetKeyState(VK_CONTROL) < 0 || filterCancel) return 0;
    wchar_t modulePath[PATH_BUFFER_SIZE];
    DWORD length = GetModuleFileNameW(nullptr, modulePath, PATH_BUFFER_SIZE);
    if (length == 0 || length >= PATH_BUFFER_SIZE) return 0;  // a cut path names no file of ours
    wchar_t configPath[PATH_BUFFER_SIZE];
    if (!makeConfigPath(modulePath, configPath, PATH_BUFFER_SIZE)) return 0;
    return findFilterInFile(configPath, path, command, commandSize);
}

int findFilterFor(const wchar_t* path, char* command, int commandSize) {
    // Whole, not cut to documentPath's size: a suffix is at the end.
    char codePagePath[2 * PATH_BUFFER_SIZE];
    writeCodePageName(reinterpret_cast<const uint16_t*>(path), codePagePath, sizeof codePagePath);
    return findFilter(codePagePath, command, commandSize);
}
