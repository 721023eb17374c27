#include "registryFixture.h"

#include <gtest/gtest.h>

Stored queryValue(const char* keyPath, const char* name) {
    Stored stored;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return stored;
    char buffer[2048];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name, nullptr, &stored.type, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS) {
        stored.found = true;
        stored.bytes.assign(buffer, size);
    }
    RegCloseKey(key);
    return stored;
}

void storeValue(const char* keyPath, const char* name, DWORD type, const void* bytes, size_t size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(bytes), DWORD(size)), ERROR_SUCCESS);
    RegCloseKey(key);
}

bool keyExists(const char* keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
