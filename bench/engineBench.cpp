// Throughput and memory of the document engine on large Shift_JIS documents
// of two shapes, prose (short lines) and long lines: loading, row breaking
// at 80 columns with kinsoku, pagination at 60 rows, and the three together
// as a load does them.
//
//   engineBench [benchmark flags]       runs the benchmarks on generated files
//   engineBench --generate PATH [SHAPE] writes the file of that shape (prose,
//                                       the default, or long) and exits
//   engineBench --run PATH              one load + break + paginate of PATH
//   engineBench --report PATH           the same, then prints the sizes (for
//                                       bench/compareWithFold.sh)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "document/lineList.h"
#include "document/stdioBlockSource.h"
#include "layout/layoutSettings.h"
#include "layout/pagination.h"
#include "layout/rowBreaking.h"
#include <malloc.h>

// The document's memory as the C heap holds it: its blocks come from there.
static size_t heapBytesInUse() {
    struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

namespace {

// 50 MB; PEMO_BENCH_MB makes a smaller one for a quick check that the
// benchmarks still run.
size_t benchDocumentSize() {
    const char* megabytes = getenv("PEMO_BENCH_MB");
    long value = megabytes ? strtol(megabytes, nullptr, 10) : 0;
    return size_t(value > 0 && value <= 1024 ? value : 50) * 1024 * 1024;
}
const size_t documentSize = benchDocumentSize();
const int32_t benchColumns = 80;
const int32_t benchRows = 60;

// splitmix64: fixed seed, so every run and every script sees the same bytes.
struct Random {
    uint64_t state = 0x5eed5eed2005ULL;
    uint64_t next() {
        uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % uint64_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
};

void putDoubleByte(std::string& out, int lead, int trail) {
    out += char(lead);
    out += char(trail);
}

// Trail bytes 0x40..0xFC without 0x7F, as every full CP932 row has them.
int anyTrail(Random& random) {
    int trail = random.between(0x40, 0xFB);
    return trail >= 0x7F ? trail + 1 : trail;
}

void putHiragana(std::string& out, Random& random, int count) {
    for (int i = 0; i < count; ++i) putDoubleByte(out, 0x82, random.between(0x9F, 0xF1));
}

void putKatakana(std::string& out, Random& random, int count) {
    for (int i = 0; i < count; ++i) {
        int trail = random.between(0x40, 0x95);
        putDoubleByte(out, 0x83, trail >= 0x7F ? trail + 1 : trail);
    }
}

// Level 1 kanji rows 0x89..0x97 are complete.
void putKanji(std::string& out, Random& random, int count) {
    for (int i = 0; i < count; ++i) putDoubleByte(out, random.between(0x89, 0x97), anyTrail(random));
}

void putAsciiWord(std::string& out, Random& random) {
    int length = random.between(2, 10);
    out += ' ';
    for (int i = 0; i < length; ++i) out += char((i == 0 && random.below(3) == 0 ? 'A' : 'a') + random.below(26));
    out += ' ';
}

void putDigits(std::string& out, Random& random) {
    int length = random.between(1, 4);
    for (int i = 0; i < length; ++i) out += char('0' + random.below(10));
}

const char comma[] = "\x81\x41";        // 、
const char fullStop[] = "\x81\x42";     // 。
const char openQuote[] = "\x81\x75";    // 「
const char closeQuote[] = "\x81\x76";   // 」

// A run of at least `length` bytes: mostly kana and kanji, some katakana,
// ASCII words and numbers, quotes and punctuation, now and then a tab.
void putText(std::string& out, Random& random, int length) {
    size_t start = out.size();
    if (random.below(10) == 0) out += '\t';
    bool quoted = false;
    while (out.size() - start < size_t(length)) {
        int kind = random.below(100);
        if (kind < 40) putHiragana(out, random, random.between(2, 12));
        else if (kind < 65) putKanji(out, random, random.between(1, 4));
        else if (kind < 75) putKatakana(out, random, random.between(2, 6));
        else if (kind < 83) putAsciiWord(out, random);
        else if (kind < 88) putDigits(out, random);
        else if (kind < 90) out += '\t';
        else if (kind < 95) {
            out += quoted ? closeQuote : openQuote;
            quoted = !quoted;
        } else {
            out += random.below(2) ? comma : fullStop;
        }
        if (random.below(6) == 0) out += comma;
    }
    if (quoted) out += closeQuote;
}

// Prose as manuals and stories are kept: lines wrapped at 20 to 70 bytes,
// one in 7 blank, one in 12 short (a heading, a list item, the end of a
// paragraph), one in 2000 very long (an unwrapped paragraph, a pasted
// table). About 44 bytes a line, as measured on real documents.
void putProseLine(std::string& line, Random& random) {
    int roll = random.below(2000);
    if (roll == 0) putText(line, random, random.between(1000, 16000));
    else if (roll < 280) return;
    else if (roll < 440) putText(line, random, random.between(4, 20));
    else putText(line, random, random.between(16, 64));
}

// One paragraph a line, 20 to 400 bytes; one line in 20 empty.
void putLongLine(std::string& line, Random& random) {
    if (random.below(20) == 0) return;
    int roll = random.below(100);
    putText(line, random, roll < 15 ? random.between(20, 60) : roll < 75 ? random.between(60, 200)
                                                                           : random.between(200, 400));
    line += fullStop;
}

enum DocumentShape { PROSE = 0, LONG_LINES = 1 };
const char* const shapeNames[] = {"prose", "long"};

// Lines end in CR LF; about one line in 3000 ends in a form feed instead.
bool generateDocument(const char* path, DocumentShape shape) {
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    Random random;
    std::string line;
    size_t written = 0;
    while (written < documentSize) {
        line.clear();
        if (shape == PROSE) putProseLine(line, random);
        else putLongLine(line, random);
        line += random.below(3000) == 0 ? "\f" : "\r\n";
        if (written + line.size() > documentSize) {
            // The file ends on a whole character, padded with spaces.
            size_t keep = 0, room = documentSize - written;
            while (keep < room) {
                size_t width = (uint8_t(line[keep]) >= 0x81 && uint8_t(line[keep]) <= 0x9F) ? 2 : 1;
                if (keep + width > room) break;
                keep += width;
            }
            line.resize(keep);
            line.append(room - keep, ' ');
        }
        fwrite(line.data(), 1, line.size(), file);
        written += line.size();
    }
    return fclose(file) == 0;
}

void useBenchSettings() {
    LayoutSettings& s = layoutSettings;
    s.tabCount = 4;
    s.wordWrap = 0;
    s.kinsoku = 1;
    copyKinsokuSet(s.kinsokuLineStart, defaultKinsokuLineStart);
    copyKinsokuSet(s.kinsokuHanging, defaultKinsokuHanging);
    copyKinsokuSet(s.kinsokuLineEnd, defaultKinsokuLineEnd);
}

std::string documentPaths[2];

void loadOrSkip(benchmark::State& state) {
    if (!readLinesFromPath(documentPaths[state.range(0)].c_str()))
        state.SkipWithError("cannot load the document");
}

void nameShape(benchmark::State& state) {
    state.SetLabel(shapeNames[state.range(0)]);
}

void BM_Load(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        clearLineList();
        state.ResumeTiming();
        loadOrSkip(state);
    }
    nameShape(state);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(documentSize));
    clearLineList();
}

void BM_BreakAllLines(benchmark::State& state) {
    useBenchSettings();
    loadOrSkip(state);
    for (auto _ : state) breakAllLines(benchColumns);
    nameShape(state);
    state.counters["rows"] = double(totalRows);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(documentSize));
    clearLineList();
}

void BM_Paginate(benchmark::State& state) {
    useBenchSettings();
    loadOrSkip(state);
    breakAllLines(benchColumns);
    for (auto _ : state) benchmark::DoNotOptimize(paginate(benchRows));
    nameShape(state);
    state.counters["pages"] = double(pageCount);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(documentSize));
    releasePages();
    clearLineList();
}

// The whole of a document load, and after the timed loop the memory the
// document holds, against the size of the file.
void BM_LoadBreakPaginate(benchmark::State& state) {
    useBenchSettings();
    for (auto _ : state) {
        state.PauseTiming();
        releasePages();
        clearLineList();
        state.ResumeTiming();
        loadOrSkip(state);
        breakAllLines(benchColumns);
        benchmark::DoNotOptimize(paginate(benchRows));
    }
    nameShape(state);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(documentSize));

    releasePages();
    clearLineList();
    loadOrSkip(state);
    size_t loaded = heapBytesInUse();
    breakAllLines(benchColumns);
    size_t broken = heapBytesInUse();
    using benchmark::Counter;
    state.counters["brokenBytes"] = Counter(double(broken), Counter::kDefaults, Counter::kIs1024);
    state.counters["loadedPerFileByte"] = double(loaded) / double(documentSize);
    state.counters["brokenPerFileByte"] = double(broken) / double(documentSize);
    clearLineList();
}

BENCHMARK(BM_Load)->Arg(PROSE)->Arg(LONG_LINES)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BreakAllLines)->Arg(PROSE)->Arg(LONG_LINES)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paginate)->Arg(PROSE)->Arg(LONG_LINES)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBreakPaginate)->Arg(PROSE)->Arg(LONG_LINES)->Unit(benchmark::kMillisecond);

// One load as the program makes it, as timed by the comparison script; with
// `report`, also what the script prints about it.
int runOnce(const char* path, int report) {
    useBenchSettings();
    if (!readLinesFromPath(path)) {
        fprintf(stderr, "engineBench: cannot read %s\n", path);
        return 1;
    }
    size_t loaded = heapBytesInUse();
    breakAllLines(benchColumns);
    size_t broken = heapBytesInUse();
    int32_t pagesMade = paginate(benchRows);
    if (!report) return 0;
    long lines = 0;
    for (const LineNode* line = head; line; line = line->next) ++lines;
    std::error_code error;
    uintmax_t fileSize = std::filesystem::file_size(path, error);
    printf("fileBytes=%ju lines=%ld loadedBytes=%zu brokenBytes=%zu rows=%d pages=%d\n",
           error ? uintmax_t(0) : fileSize, lines, loaded, broken, int(totalRows), int(pagesMade));
    return 0;
}

int parseShape(const char* name, DocumentShape* shape) {
    for (int k = 0; k < 2; ++k) {
        if (strcmp(name, shapeNames[k]) == 0) {
            *shape = DocumentShape(k);
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc == 3 || argc == 4) && strcmp(argv[1], "--generate") == 0) {
        DocumentShape shape = PROSE;
        if (argc == 4 && !parseShape(argv[3], &shape)) {
            fprintf(stderr, "engineBench: shape is prose or long\n");
            return 2;
        }
        if (generateDocument(argv[2], shape)) return 0;
        fprintf(stderr, "engineBench: cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc == 3 && strcmp(argv[1], "--run") == 0) return runOnce(argv[2], 0);
    if (argc == 3 && strcmp(argv[1], "--report") == 0) return runOnce(argv[2], 1);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    int written = 1;
    for (int k = 0; k < 2; ++k) {
        documentPaths[k] = (std::filesystem::temp_directory_path() /
                            ("pemoEngineBench-" + std::to_string(getpid()) + "-" + shapeNames[k] + ".txt"))
                               .string();
        if (!generateDocument(documentPaths[k].c_str(), DocumentShape(k))) {
            fprintf(stderr, "engineBench: cannot write %s\n", documentPaths[k].c_str());
            written = 0;
        }
    }
    if (written) benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& path : documentPaths) std::filesystem::remove(path);
    return written ? 0 : 1;
}
