#include "rulesText.h"

#include <cstring>

#include "../layout/leadByte.h"

namespace {

struct Span {
    const char* start;
    const char* end;
};

// No byte of these is ever the second byte of a double-byte character.
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A;
}

Span trimmed(Span s) {
    while (s.start < s.end && isBlank(*s.start)) ++s.start;
    while (s.end > s.start && isBlank(s.end[-1])) --s.end;
    return s;
}

bool sameName(Span s, const char* name) {
    size_t length = strlen(name);
    if (size_t(s.end - s.start) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        char a = s.start[i], b = name[i];
        if ((a >= 'a' && a <= 'z' ? a - 32 : a) != (b >= 'a' && b <= 'z' ? b - 32 : b)) return false;
    }
    return true;
}

// The section name of a "[name]" line (up to its last "]", whole characters
// only), or a null start for any other line.
Span sectionName(Span line) {
    Span name = {nullptr, nullptr};
    if (line.start == line.end || *line.start != '[') return name;
    for (const char* p = line.start + 1; p < line.end; p += isLeadByte((unsigned char)*p) && p + 1 < line.end ? 2 : 1)
        if (*p == ']') name = Span{line.start + 1, p};
    return name;
}

// The value's span of a "key=value" line whose key is `key`, or a null start.
Span valueFor(Span line, const char* key) {
    const char* equals = static_cast<const char*>(memchr(line.start, '=', size_t(line.end - line.start)));
    Span value = {nullptr, nullptr};
    if (equals && sameName(trimmed(Span{line.start, equals}), key)) value = trimmed(Span{equals + 1, line.end});
    return value;
}

Span findValue(RulesText text, const char* section, const char* key) {
    const char* end = text.bytes + text.size;
    int inSection = 0;
    for (const char* at = text.bytes; at < end;) {
        const char* lineEnd = at;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') ++lineEnd;
        Span line = trimmed(Span{at, lineEnd});
        at = lineEnd + 1;
        Span name = sectionName(line);
        if (name.start) {
            inSection = sameName(name, section);
        } else if (inSection && line.start < line.end) {
            Span value = valueFor(line, key);
            if (value.start) return value;
        }
    }
    return Span{nullptr, nullptr};
}

}  // namespace

long findRuleValue(RulesText text, const char* section, const char* key, char* out, size_t outSize) {
    Span value = findValue(text, section, key);
    if (!value.start) return -1;
    const char* nul = static_cast<const char*>(memchr(value.start, '\0', size_t(value.end - value.start)));
    if (nul) value.end = nul;
    size_t length = size_t(value.end - value.start);
    if (length >= 2 && (*value.start == '"' || *value.start == '\'') && value.end[-1] == *value.start) {
        ++value.start;
        length -= 2;
    }
    size_t copied = length < outSize ? length : outSize - 1;
    if (outSize) {
        memcpy(out, value.start, copied);
        out[copied] = '\0';
    }
    return long(length);
}

uint32_t findRuleNumber(RulesText text, const char* section, const char* key, uint32_t byDefault) {
    char digits[32];
    if (findRuleValue(text, section, key, digits, sizeof digits) <= 0) return byDefault;
    const char* p = digits;  // trimmed already
    int negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    uint32_t number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) number = number * 10 + uint32_t(*p - '0');
    return negative ? 0u - number : number;
}
