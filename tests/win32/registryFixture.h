// Reads and writes registry values the way another program would, to check
// what the settings store wrote and to plant what it must read.
#pragma once
#include <windows.h>

#include <string>

struct Stored {
    bool found = false;
    DWORD type = 0;
    std::string bytes;
};

Stored queryValue(const char* keyPath, const char* name);
void storeValue(const char* keyPath, const char* name, DWORD type, const void* bytes, size_t size);
bool keyExists(const char* keyPath);
