// The command-line scanner with any bytes: the name lies inside the line and
// copies into the 260-byte path buffer without overflow.
#include <cstring>
#include <string>

#include "document/commandLineScan.h"
#include "fuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, strnlen(line.c_str(), line.size()));
    CommandLineScan s = scanCommandLine(line.c_str());
    if (!s.hasName) return 0;
    int32_t length = int32_t(line.size());
    FUZZ_CHECK(s.nameStart >= 0 && s.nameStart <= length);
    FUZZ_CHECK(s.nameEnd >= s.nameStart - 1 && s.nameEnd < length);
    char path[262];
    path[260] = path[261] = 'X';
    if (s.nameEnd >= s.nameStart) {
        copyBounded(line.c_str() + s.nameStart, line.c_str() + s.nameEnd, path, 260);
        size_t copied = strlen(path);
        FUZZ_CHECK(copied <= 259);
        FUZZ_CHECK(memcmp(path, line.c_str() + s.nameStart, copied) == 0);
    }
    FUZZ_CHECK(path[260] == 'X' && path[261] == 'X');
    return 0;
}
