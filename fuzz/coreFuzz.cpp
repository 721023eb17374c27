// One libFuzzer target for every parser of the core. The first byte picks the
// parser, the next bytes its settings, the rest is the text it parses.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/dropList.h"
#include "document/commandLineScan.h"
#include "document/documentNames.h"
#include "document/documentReader.h"
#include "document/lineList.h"
#include "filter/filterRules.h"
#include "filter/rulesText.h"
#include "layout/headerFooter.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"
#include "settings/registryValues.h"
#include "engineInput.h"  // tests/core

#define CHECK(condition) \
    ((condition) ? (void)0 : (fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), abort()))

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    unsigned take() { return size ? (--size, *data++) : 0; }
    std::string rest() { return std::string(reinterpret_cast<const char*>(data), size); }
};

// Any bytes, read in blocks of any size, with any allocation failing: the sanitizers watch.
void fuzzLoader(Input in) {
    MemorySource source{"", in.take() * 3, int(in.take() % 8)};
    failAllocation(int(in.take() % 16));
    source.bytes = in.rest();
    source.load();
    allocationFailureHook = nullptr;
    clearLineList();
}

// The rows tile every line and count its characters; gives their positions.
std::string checkedRows() {
    std::string positions;
    for (LineNode* line = head; line; line = line->next) {
        int32_t chars = 0;
        for (int32_t k = 0; k < line->rowCount; ++k) {
            RowSpan row = rowOf(line, k);
            const char* end = k + 1 < line->rowCount ? rowOf(line, k + 1).start : line->text + line->length;
            CHECK(row.start >= line->text && row.start <= end && (row.start < end || !line->length));
            chars += row.charCount;
            positions += std::to_string(row.start - line->text) + "," + std::to_string(row.charCount) + " ";
        }
        CHECK(chars == line->charCount);
    }
    return positions;
}

void fuzzLayout(Input in) {
    LayoutSettings& s = layoutSettings;
    int32_t columns = int32_t(in.take() % 100 + 1), rows = int32_t(in.take() % 50 + 1);
    unsigned switches = in.take();
    s.tabCount = int32_t(switches % 16);
    s.wordWrap = switches >> 4 & 1, s.kinsoku = switches >> 5 & 1;
    copyKinsokuSet(s.kinsokuLineStart, defaultKinsokuLineStart);
    copyKinsokuSet(s.kinsokuHanging, switches >> 6 & 1 ? ".,\x81\x41\x81\x42" : defaultKinsokuHanging);
    std::string text = in.rest();
    MemorySource document{text + (switches >> 7 ? "\f" : "\n") + text.substr(0, text.size() / 2) + "\n"};
    if (!document.load()) return;
    auto rowsBy = [columns](int byGroups) { rowBreakingByGroups = byGroups; breakAllLines(columns); return checkedRows(); };
    const std::string stepped = rowsBy(0);
    CHECK(rowsBy(1) == stepped);  // eight bytes at a time, the same rows
    CHECK(paginate(rows) >= 1);
    for (int32_t p = 0; p < pageCount; ++p) CHECK(pages[p].firstRow >= 1 && pages[p].firstRow <= pages[p].firstLine->rowCount);
    clearLineList();
    releasePages();
}

void fuzzTemplate(Input in) {
    int32_t size = int32_t(in.take() * 4 % (EXPANDED_TEMPLATE_SIZE + 1));
    std::string text = in.rest().substr(0, TEMPLATE_SIZE - 1);
    strcpy(documentPath, text.c_str());
    char out[EXPANDED_TEMPLATE_SIZE + 1];
    memset(out, '#', sizeof out);
    expandTemplate(text.c_str(), out, size);
    CHECK(out[size] == '#' && (!size || strlen(out) < size_t(size)));
}

void fuzzCommandLine(Input in) {
    MultiByteStart starts = in.take() & 1 ? startsUtf8Sequence : startsCp932Character;
    const std::string full = in.rest().c_str();  // as far as its first NUL, as a command line
    const std::string line = skipProgramName(full.c_str());
    CommandLineScan scan = scanCommandLine(line.c_str(), starts);
    if (!scan.hasName) return;
    CHECK(scan.nameStart >= 0 && scan.nameEnd >= scan.nameStart - 1 && size_t(scan.nameEnd + 1) <= line.size());
    char path[PATH_BUFFER_SIZE];
    copyBounded(line.c_str() + scan.nameStart, line.c_str() + scan.nameEnd, path, sizeof path);
    CHECK(strlen(path) < sizeof path);
}

void fuzzStoredValue(Input in) {
    uint32_t type = in.take() % 8, outSize = in.take() + 1;
    std::string bytes = in.rest();
    StoredValue value{type, reinterpret_cast<const unsigned char*>(bytes.data()), uint32_t(bytes.size())};
    char text[300];
    memset(text, '#', sizeof text);
    CHECK((!decodeString(value, text, outSize) || strlen(text) < outSize) && text[outSize] == '#');
    int32_t number;
    MarginBox margins;
    unsigned char font[LOGFONT_VALUE_SIZE];
    int16_t orientation = 0;
    if (decodeLogFont(value, font)) CHECK(font[LOGFONT_FACE_OFFSET + LOGFONT_FACE_SIZE - 1] == 0);  // a C string
    CHECK(decodeDword(value, &number) + decodeMargins(value, &margins) + decodeOrientation(value, &orientation) < 2);
}

void fuzzDropList(Input in) {
    std::string block = in.rest();
    DropCursor cursor;
    if (!startDropList(reinterpret_cast<const unsigned char*>(block.data()), block.size(), &cursor)) return;
    uint16_t name[WIDE_NAME_LIMIT + 1];
    name[WIDE_NAME_LIMIT] = '#';
    char codePageName[PATH_BUFFER_SIZE + 1];  // as the header shows it: reads the name only
    for (int refused = 0; nextDropName(&cursor, name, &refused);) writeCodePageName(name, codePageName, PATH_BUFFER_SIZE);
    CHECK(name[WIDE_NAME_LIMIT] == '#');
}

// Filter rules of any bytes: matching reads nothing past its strings, and
// the tab code's expansion stays inside its buffer and replaces one code.
void fuzzFilterRules(Input in) {
    size_t bufferSize = 1 + in.take() % 40;
    int32_t tab = int32_t(in.take() << 8 | in.take()) - 1000;
    std::string text = in.rest(), path = text.c_str();
    std::string rule = text.size() > path.size() ? text.c_str() + path.size() + 1 : "";
    std::vector<char> p(path.c_str(), path.c_str() + path.size() + 1), r(rule.c_str(), rule.c_str() + rule.size() + 1);
    CHECK(!startsWithFolder(p.data(), r.data()) || rule.size() <= path.size());
    CHECK(matchesSuffixes(p.data(), r.data()) || !rule.empty());
    std::string command = rule.substr(0, bufferSize - 1);
    std::vector<char> buffer(command.c_str(), command.c_str() + command.size() + 1);
    buffer.resize(bufferSize);
    char value[16];  // the rules file's text: nothing read past it, values cut to their buffer
    RulesText rules{text.data(), text.size()};
    long length = findRuleValue(rules, "Filter1", "Key", value, sizeof value);
    CHECK(length < 0 || strlen(value) == size_t(length < 15 ? length : 15));
    findRuleNumber(rules, "Initialize", "NumOfFilter", 0);
    int ok = expandTabCode(buffer.data(), int(bufferSize), tab);
    std::string expanded = buffer.data();
    CHECK(expanded.size() < bufferSize && (ok || expanded == command));  // a cut command is never made
}

// Any bytes in any encoding, decided and decoded whole and in pieces of any
// size: the same text, and nothing written past the room each call is given.
void fuzzConverter(Input in) {
    unsigned settings = in.take();
    std::string file = in.rest();
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    SourceEncoding encoding = SourceEncoding(settings % 7);
    if (encoding == SOURCE_UNDECIDED) encoding = encodingOfWindow(bytes, file.size(), settings >> 7);
    CHECK(decodedInPieces(encoding, file, settings / 7 % 16 + 1) == decodedInPieces(encoding, file, file.size() + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static void (*const fuzzers[])(Input) = {fuzzLoader,      fuzzLayout,   fuzzTemplate,   fuzzCommandLine,
                                             fuzzStoredValue, fuzzDropList, fuzzFilterRules, fuzzConverter};
    Input in{data, size};
    const unsigned parser = in.take() % 8;
    fuzzers[parser](in);
    return 0;
}
