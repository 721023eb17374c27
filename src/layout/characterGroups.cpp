#include "characterGroups.h"

#include "leadByte.h"
#include "rowBreaking.h"

namespace {

void describeLeadRanges(GroupTables& t) {
    int firsts[2], lasts[2], ranges = 0;
    for (int byte = 0; byte < 256; ++byte) {
        if (!(t.byteClass[byte] & 1)) continue;
        if (byte < 0x80) return;  // leadRanges stays 0
        if (ranges > 0 && lasts[ranges - 1] == byte - 1) {
            lasts[ranges - 1] = byte;
        } else if (ranges == 2) {
            return;
        } else {
            firsts[ranges] = lasts[ranges] = byte;
            ++ranges;
        }
    }
    if (ranges < 2) return;  // code page 932 has two; one is left to the plain test
    const uint64_t ones = 0x0101010101010101ULL;
    for (int k = 0; k < 2; ++k) {
        t.rangeStarts[k] = ones * uint64_t(0x80 - (firsts[k] - 0x80));
        t.rangeEnds[k] = ones * uint64_t(0x7F - (lasts[k] - 0x80));
    }
    t.leadRanges = ranges;
}

GroupTables buildGroupTables() {
    GroupTables t = {};
    for (int byte = 0; byte < 256; ++byte) {
        t.byteClass[byte] = (unsigned char)((isLeadByte((unsigned char)byte) ? 1 : 0) |
                                            (isWordChar(char(byte)) ? 2 : 0));
    }
    for (int trail = 0; trail < 2; ++trail) {
        for (int leads = 0; leads < 256; ++leads) {
            int i = trail, mask = 0, count = 0;
            while (i < 8) {
                mask |= 1 << i;
                ++count;
                i += (leads >> i & 1) ? 2 : 1;
            }
            t.starts[trail][leads] = (unsigned char)mask;
            t.counts[trail][leads] = (unsigned char)count;
            t.spills[trail][leads] = i == 9;
        }
    }
    describeLeadRanges(t);
    return t;
}

}  // namespace

const GroupTables& groupTables() {
    static const GroupTables tables = buildGroupTables();
    return tables;
}
