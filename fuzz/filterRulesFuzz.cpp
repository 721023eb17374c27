// Filter rules with any bytes: matching reads nothing past its strings, and
// the tab code's expansion stays inside its buffer and replaces one code.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "filter/filterRules.h"
#include "fuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader reader{data, size};
    size_t bufferSize = 1 + reader.take() % 40;
    int32_t tab = int32_t(reader.take16()) - 1000;
    std::string text(reinterpret_cast<const char*>(reader.data), reader.size);
    std::string path = text.c_str();
    std::string rule = text.size() > path.size() ? text.c_str() + path.size() + 1 : "";
    // Buffers of exactly their size, so that any access past them is caught.
    std::vector<char> p(path.c_str(), path.c_str() + path.size() + 1);
    std::vector<char> r(rule.c_str(), rule.c_str() + rule.size() + 1);
    FUZZ_CHECK(!startsWithFolder(p.data(), r.data()) || rule.size() <= path.size());
    FUZZ_CHECK(matchesSuffixes(p.data(), r.data()) || !rule.empty());
    std::string command = rule.substr(0, bufferSize - 1);
    std::vector<char> buffer(bufferSize);
    memcpy(buffer.data(), command.c_str(), command.size() + 1);
    int ok = expandTabCode(buffer.data(), int(bufferSize), tab);
    std::string expanded = buffer.data();
    FUZZ_CHECK(expanded.size() < bufferSize);
    FUZZ_CHECK(ok || expanded == command);
    if (expanded != command) {  // the digits stand where the first code stood
        size_t at = size_t(std::mismatch(command.begin(), command.end(), expanded.begin(),
                                         expanded.end()).first - command.begin());
        FUZZ_CHECK(command.compare(at, 2, "&T") == 0);
        FUZZ_CHECK(expanded.substr(at) == std::to_string(tab) + command.substr(at + 2));
    }
    return 0;
}
