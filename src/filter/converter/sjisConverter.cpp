// A filter for pemoPrint: reads a Japanese text file on standard input and
// writes it in Shift_JIS on standard output. Shift_JIS passes unchanged;
// EUC-JP, ISO-2022-JP, UTF-8 and marked UTF-16 are converted. It decides the
// encoding itself unless /from:NAME names it. It works a piece at a time in
// buffers of its own, so that its memory stays the same whatever the size of
// the file. Exit status: 0 when all was read and written, 1 when a read or a
// write failed, 2 for an option it does not know.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "../../document/pipeEnd.h"
#include "encodingDecision.h"
#include "pieceDecoding.h"

namespace {

const size_t PIECE_BYTES = 1 << 16;
const UINT SHIFT_JIS = 932;

// A failure is said on standard error, with the system's error number.
void tell(const char* what) { fprintf(stderr, "sjisConverter: %s (error %lu)\n", what, GetLastError()); }

// What has been read and not yet written; room for a piece, the decision
// window after it and the bytes of a cut character.
struct Input {
    HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
    bool isPipe = GetFileType(handle) == FILE_TYPE_PIPE;
    bool ended = false;
    bool failed = false;
    unsigned char bytes[PIECE_BYTES + DECISION_WINDOW + 8];
    size_t start = 0, end = 0;

    size_t held() const { return end - start; }
    const unsigned char* data() const { return bytes + start; }
    void take(size_t count) { start += count; }

    // Reads until `want` bytes are held or the input has ended.
    void fill(size_t want) {
        memmove(bytes, bytes + start, held());
        end -= start;
        start = 0;
        if (want > sizeof bytes) want = sizeof bytes;
        while (!ended && end < want) {
            DWORD got = 0;
            if (!ReadFile(handle, bytes + end, DWORD(sizeof bytes - end), &got, nullptr)) {
                failed = !isPipe || GetLastError() != ERROR_BROKEN_PIPE;
                if (failed) tell("cannot read standard input");
                ended = true;
            } else if (got == 0 && emptyReadEnds(handle, isPipe)) {
                ended = true;
            }
            end += got;
        }
    }
};

struct Output {
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    bool failed = false;

    void write(const void* data, size_t size) {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0 && !failed) {
            DWORD put = 0;
            if (!WriteFile(handle, bytes, DWORD(size), &put, nullptr) || put == 0) {
                tell("cannot write standard output");
                failed = true;
            }
            bytes += put;
            size -= put;
        }
    }
};

Input input;
Output output;
unsigned char bytes[PIECE_BYTES];
char16_t units[PIECE_BYTES + 1];
char converted[2 * (PIECE_BYTES + 1)];

void writeUnits(size_t count) {
    if (count == 0) return;
    int written = WideCharToMultiByte(SHIFT_JIS, WC_NO_BEST_FIT_CHARS,
                                      reinterpret_cast<const wchar_t*>(units), int(count),
                                      converted, int(sizeof converted), nullptr, nullptr);
    if (written <= 0) {  // nothing may go missing unsaid
        tell("cannot convert to code page 932");
        output.failed = true;
    }
    output.write(converted, size_t(written > 0 ? written : 0));
}

// Bytes that every encoding reads alike are written as they are; the window
// after them decides, with the few bytes past it that finish a character
// its edge cuts.
SourceEncoding decideWithoutMark() {
    for (;;) {
        input.fill(PIECE_BYTES);
        size_t plain = plainLength(input.data(), input.held());
        output.write(input.data(), plain);
        input.take(plain);
        if (output.failed || (input.held() == 0 && input.ended)) return SOURCE_SHIFT_JIS;
        if (input.held() > 0) break;
    }
    const size_t window = DECISION_WINDOW + 4;
    input.fill(window);
    size_t size = input.held() < window ? input.held() : window;
    return encodingOfWindow(input.data(), size, input.ended && size == input.held());
}

// A piece at a time; what a piece leaves (a character or escape that its
// end cuts) waits for the piece after it.
// Nothing more is read once a write has failed: the input may be endless.
void convert(SourceEncoding encoding) {
    PieceDecoder decoder = {encoding, {}};
    while (!output.failed) {
        input.fill(PIECE_BYTES);
        if (input.held() == 0) break;
        size_t size = input.held() < PIECE_BYTES ? input.held() : PIECE_BYTES;
        DecodedPiece piece = decodePiece(&decoder, input.data(), size,
                                         input.ended && size == input.held(), bytes, units);
        output.write(bytes, piece.bytes);
        writeUnits(piece.units);
        input.take(piece.taken);
    }
}

// The encoding named by the arguments, SOURCE_UNDECIDED for none; false for
// an argument that names nothing known.
bool readArguments(int argc, char** argv, SourceEncoding* named) {
    for (int i = 1; i < argc; ++i) {
        *named = strncmp(argv[i], "/from:", 6) ? SOURCE_UNDECIDED : encodingOfName(argv[i] + 6);
        if (*named == SOURCE_UNDECIDED) {
            fprintf(stderr, "sjisConverter: unknown option or encoding \"%s\" (/from:sjis, "
                            "euc-jp, iso-2022-jp, utf-8, utf-16le or utf-16be)\n", argv[i]);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    SourceEncoding named = SOURCE_UNDECIDED;
    if (!readArguments(argc, argv, &named)) return 2;
    input.fill(3);
    size_t mark = 0;
    SourceEncoding marked = encodingOfMark(input.data(), input.held(), &mark);
    if (named == SOURCE_UNDECIDED || named == marked) input.take(mark);
    SourceEncoding encoding = named != SOURCE_UNDECIDED ? named : marked;
    convert(encoding != SOURCE_UNDECIDED ? encoding : decideWithoutMark());
    return input.failed || output.failed ? 1 : 0;
}
