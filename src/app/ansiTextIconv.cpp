#include <iconv.h>

#include "ansiText.h"

// One character at a time, so that one the code page lacks becomes "?".
int wideTo932(const uint16_t* wide, int count, char* out, int outSize) {
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    int written = 0;
    for (int i = 0; i < count && written >= 0; ++i) {
        int pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < count && wide[i + 1] >= 0xDC00 &&
                   wide[i + 1] < 0xE000;
        int units = pair ? 2 : 1;
        char in[4] = {char(wide[i]), char(wide[i] >> 8), char(wide[i + units - 1]), char(wide[i + units - 1] >> 8)};
        char bytes[8];
        char *from = in, *to = bytes;
        size_t inLeft = size_t(2 * units), outLeft = sizeof bytes;
        size_t n = iconv(cd, &from, &inLeft, &to, &outLeft) == size_t(-1) ? 0 : sizeof bytes - outLeft;
        if (n == 0) bytes[n++] = '?';
        if (written + int(n) > outSize) written = -1;
        for (size_t k = 0; written >= 0 && k < n; ++k) out[written++] = bytes[k];
        i += units - 1;
    }
    iconv_close(cd);
    return written < 0 ? 0 : written;
}

int ansiToWide(const char* bytes, int count, uint16_t* out, int outUnits) {
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    char* from = const_cast<char*>(bytes);
    char* to = reinterpret_cast<char*>(out);
    size_t inLeft = size_t(count), outLeft = size_t(outUnits) * 2;
    size_t result = iconv(cd, &from, &inLeft, &to, &outLeft);
    iconv_close(cd);
    return result == size_t(-1) ? 0 : outUnits - int(outLeft / 2);
}
