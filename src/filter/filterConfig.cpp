#include "filterConfig.h"

#include <windows.h>

#include <cstring>

#include "../document/documentNames.h"
#include "../layout/layoutSettings.h"
#include "filterRules.h"
#include "filterSwitch.h"

namespace {

// Reads a text value into `buffer`; 0 when the value does not fit in `size`
// bytes, so that no cut folder, suffix list or command is ever used.
int readRuleText(const char* file, const char* section, const char* key, char* buffer,
                 int size) {
    char text[1024];
    DWORD length = GetPrivateProfileStringA(section, key, "", text, sizeof text, file);
    if (length >= DWORD(size)) return 0;
    memcpy(buffer, text, length + 1);
    return 1;
}

int ruleApplies(const char* file, const char* section, const char* path) {
    char folder[PATH_BUFFER_SIZE];
    if (!readRuleText(file, section, "Directory", folder, sizeof folder)) return 0;
    if (folder[0] && !startsWithFolder(path, folder)) return 0;
    char suffixes[FILTER_SUFFIXES_SIZE];
    if (!readRuleText(file, section, "Suffixes", suffixes, sizeof suffixes)) return 0;
    return matchesSuffixes(path, suffixes);
}

int readRuleCommand(const char* file, const char* section, char* command, int commandSize) {
    if (!readRuleText(file, section, "InputFilter", command, commandSize) ||
        !expandTabCode(command, commandSize, layoutSettings.tabCount)) {
        command[0] = '\0';
        return FILTER_UNUSABLE;
    }
    return GetPrivateProfileIntA(section, "Console", 1, file) ? 1 : 0;
}

}  // namespace

int findFilterInFile(const char* configPath, const char* path, char* command, int commandSize) {
    UINT stored = GetPrivateProfileIntA("Initialize", "NumOfFilter", 0, configPath);
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
    char modulePath[PATH_BUFFER_SIZE];
    DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    if (length == 0 || length >= sizeof modulePath) return 0;  // a cut path names no file of ours
    char configPath[PATH_BUFFER_SIZE];
    if (!makeConfigPath(modulePath, configPath, sizeof configPath)) return 0;
    return findFilterInFile(configPath, path, command, commandSize);
}
