// Header and footer template expansion with any bytes: the output never
// passes its buffer, always ends in a NUL, and is a prefix of the full
// expansion made of whole pieces; a large buffer gives exactly what a plain
// reading of the codes gives.
//
// Input: 2 bytes output size (1..1024), 1 byte path length, path bytes,
// then the template (cut at 255 bytes, as a stored template is).
#include <cstring>
#include <string>

#include "document/documentNames.h"
#include "fuzzSupport.h"
#include "layout/headerFooter.h"
#include "layout/leadByte.h"

namespace {

std::string referenceExpansion(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (isLeadByte(c) && i + 1 < text.size()) {
            out += text.substr(i, 2);
            i += 2;
            continue;
        }
        if (c != '&') {
            out += char(c);
            ++i;
            continue;
        }
        char code = i + 1 < text.size() ? text[i + 1] : '\0';
        const char* replacement = nullptr;
        switch (code) {
        case 'D': replacement = dateText; break;
        case 'T': replacement = timeText; break;
        case 'P': replacement = pageNumberText; break;
        case 'A': replacement = pageCountText; break;
        case 'F': replacement = documentTitle; break;
        case 'U': replacement = documentPath; break;
        case '&': replacement = "&"; break;
        }
        if (replacement) {
            out += replacement;
            i += 2;
        } else {
            i += 1;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    int32_t outSize = 1 + int32_t((data[0] | data[1] << 8) % EXPANDED_TEMPLATE_SIZE);
    size_t pathLength = data[2] % PATH_BUFFER_SIZE;
    data += 3;
    size -= 3;
    if (pathLength > size) pathLength = size;
    std::string path(reinterpret_cast<const char*>(data), pathLength);
    path = path.substr(0, strnlen(path.c_str(), path.size()));
    memcpy(documentPath, path.c_str(), path.size() + 1);
    strcpy(documentTitle, "title.txt");
    formatDateTime(2026, 12, 7, 23, 59);
    setPageNumberTexts(12, 345);

    std::string text(reinterpret_cast<const char*>(data + pathLength), size - pathLength);
    text = text.substr(0, strnlen(text.c_str(), text.size()));
    if (text.size() > TEMPLATE_SIZE - 1) text.resize(TEMPLATE_SIZE - 1);

    std::vector<char> out(size_t(outSize) + 16, 'X');
    expandTemplate(text.c_str(), out.data(), outSize);
    size_t length = strnlen(out.data(), size_t(outSize));
    FUZZ_CHECK(length < size_t(outSize));
    for (size_t i = size_t(outSize); i < out.size(); ++i) FUZZ_CHECK(out[i] == 'X');

    std::string full = referenceExpansion(text);
    std::vector<char> large(full.size() + 64);
    expandTemplate(text.c_str(), large.data(), int32_t(large.size()));
    FUZZ_CHECK(full == large.data());
    FUZZ_CHECK(full.compare(0, length, out.data(), length) == 0);
    return 0;
}
