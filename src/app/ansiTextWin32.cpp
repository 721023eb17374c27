#include <windows.h>

#include "ansiText.h"

int wideToAnsi(const uint16_t* wide, int count, char* out, int outSize) {
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(wide), count, out, outSize,
                               nullptr, nullptr);
}
