#include "characterGroups.h"

#include "leadByte.h"
#include "rowBreaking.h"

namespace {

GroupTables buildGroupTables() {
    GroupTables t;
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
    return t;
}

}  // namespace

const GroupTables& groupTables() {
    static const GroupTables tables = buildGroupTables();
    return tables;
}
