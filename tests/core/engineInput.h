// Input for the engine from memory, for the core tests and the fuzzer: reads
// of at most `chunk` bytes, read `failAt` (from 1) failing, and failing allocations.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "app/ansiText.h"
#include "document/allocation.h"
#include "document/documentReader.h"
#include "filter/converter/pieceDecoding.h"

struct MemorySource {
    std::string bytes;
    size_t chunk = READ_BLOCK_SIZE;
    int failAt = 0, reads = 0;
    size_t at = 0;
    static int read(void* context, char* buffer, int size, int* got) {
        MemorySource& s = *static_cast<MemorySource*>(context);
        if (++s.reads == s.failAt) return 0;
        *got = int(s.bytes.copy(buffer, std::min({size_t(size), s.chunk, s.bytes.size() - s.at}), s.at));
        s.at += size_t(*got);
        return 1;
    }
    int load() { BlockSource source{&MemorySource::read, this}; return readLines(&source); }
};

inline int allocationsSeen = 0, failingAllocation = 0;
// Fails allocation number n (from 1) from now on; 0 fails none but counts.
inline void failAllocation(int n) {
    allocationsSeen = 0, failingAllocation = n;
    allocationFailureHook = []() -> int { return ++allocationsSeen == failingAllocation; };
}

// A file through the converter's core, `step` bytes read at a time as pieces cut it, the
// UTF-16 made code page 932 as the platform would; "<...>" where bytes were left undecoded.
inline std::string decodedInPieces(SourceEncoding encoding, const std::string& file, size_t step) {
    PieceDecoder decoder = {encoding, {}};
    std::string pending, out;
    for (size_t at = 0; at < file.size() || !pending.empty();) {
        pending += file.substr(at, step), at = std::min(file.size(), at + step);
        // The piece and the room promised, and no more: reading or writing past them is caught.
        std::vector<unsigned char> given(pending.begin(), pending.end()), bytes(pending.size());
        std::vector<char16_t> units(pending.size());
        DecodedPiece piece = decodePiece(&decoder, given.data(), given.size(), at == file.size(), bytes.data(), units.data());
        std::vector<char> ansi(2 * units.size() + 2);
        out.append(reinterpret_cast<char*>(bytes.data()), piece.bytes);
        out.append(ansi.data(), size_t(wideTo932(reinterpret_cast<uint16_t*>(units.data()), int(piece.units),
                                                  ansi.data(), int(ansi.size()))));
        pending.erase(0, piece.taken);
        // Only a character or escape that the piece's end cuts may wait for the next piece: in
        // EUC-JP at most two bytes of one.
        if (at == file.size() ? !pending.empty() : pending.size() > 3u - (encoding == SOURCE_EUC_JP)) return "<" + pending + ">";
    }
    return out;
}
