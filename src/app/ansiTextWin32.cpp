#include <windows.h>

#include "ansiText.h"

int wideTo932(const uint16_t* wide, int count, char* out, int outSize) {
    // Code page 932 has nothing beyond the first plane: a surrogate pair is
    // one character it lacks, and one "?" as the native build writes it.
    int written = 0;
    for (int i = 0; i < count; ++i) {
        bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < count && IS_LOW_SURROGATE(wide[i + 1]);
        wchar_t unit = pair ? L'?' : wchar_t(wide[i]);
        BOOL lacking = FALSE;
        char bytes[2];
        int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes, sizeof bytes, "?", &lacking);
        if (n <= 0 || written + n > outSize) return 0;
        for (int k = 0; k < n; ++k) out[written++] = bytes[k];
        i += pair;
    }
    return written;
}

int ansiToWide(const char* bytes, int count, uint16_t* out, int outUnits) {
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, count, reinterpret_cast<wchar_t*>(out),
                               outUnits);
}
