#include "filterConfig.h"

#include <windows.h>

#include <cstring>

#include "../app/unicodeText.h"
#include "../document/documentNames.h"
#include "../layout/layoutSettings.h"
#include "filterRules.h"
#include "filterSwitch.h"

namespace {

// Reads a text value into `buffer` as the file holds it: its bytes are the
// code page's 932, whatever the system's. 0 when the value does not fit in
// `size` bytes, so that no cut folder, suffix list or command is ever used.
int readRuleText(const wchar_t* file, const char* section, const char* key, char* buffer,
                 int size) {
    wchar_t sectionName[32], keyName[32], text[1024];
    widen(section, sectionName, 32);
    widen(key, keyName, 32);
    DWORD units = GetPrivateProfileStringW(sectionName, keyName, L"", text, 1024, file);
    // The system read the file's bytes in its own code page; back to those bytes.
    char bytes[2048];
    int length = units ? WideCharToMultiByte(CP_ACP, 0, text, int(units), bytes, sizeof bytes, nullptr, nullptr) : 0;
    if ((units && !length) || length >= size) return 0;
    memcpy(buffer, bytes, size_t(length));
    buffer[length] = '\0';
    return 1;
}

int ruleApplies(const wchar_t* file, const char* section, const char* path) {
    char folder[PATH_BUFFER_SIZE];
    if (!readRuleText(file, section, "Directory", folder, sizeof folder)) return 0;
    if (folder[0] && !startsWithFolder(path, folder)) return 0;
    char suffixes[FILTER_SUFFIXES_SIZE];
    if (!readRuleText(file, section, "Suffixes", suffixes, sizeof suffixes)) return 0;
    return matchesSuffixes(path, suffixes);
}

int readRuleCommand(const wchar_t* file, const char* section, char* command, int commandSize) {
    if (!readRuleText(file, section, "InputFilter", command, commandSize) ||
        !expandTabCode(command, commandSize, layoutSettings.tabCount)) {
        command[0] = '\0';
        return FILTER_UNUSABLE;
    }
    wchar_t sectionName[32];
    widen(section, sectionName, 32);
    return GetPrivateProfileIntW(sectionName, L"Console", 1, file) ? 1 : 0;
}

}  // namespace

int findFilterInFile(const wchar_t* configPath, const char* path, char* command, int commandSize) {
    UINT stored = GetPrivateProfileIntW(L"Initialize", L"NumOfFilter", 0, configPath);
    uint32_t count = limitFilterCount(stored);
    for (uint32_t n = 1; n <= count; ++n) {
        char section[32];
        wsprintfA(section, "Filter%u", n);
        if (ruleApplies(configPath, section, path)) {
            return readRuleCommand(configPath, section, command, commandSize);
        }
    }
    return 0;
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
