#include "rowBreaking.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "../document/lineList.h"
#include "characterGroups.h"
#include "kinsokuSets.h"
#include "layoutSettings.h"

int32_t totalRows = 0;
const int32_t PARALLEL_BREAK_LINES = 1 << 16;
int rowBreakingByGroups = 1;

int32_t wordRunLength(const char* p) {
    int32_t length = 0;
    while (isWordChar(p[length])) ++length;
    return length;
}

int32_t tabAdvance(int64_t used, int32_t tabCount, int32_t columns) {
    if (tabCount < 1) tabCount = 4;  // a stop every 0 columns means nothing
    int64_t advance = tabCount - used % tabCount;
    int64_t room = int64_t(columns) - used;
    return int32_t(std::max<int64_t>(std::min(advance, room), 1));
}

namespace {

unsigned characterCode(const char* p, int doubleByte) {
    unsigned lead = static_cast<unsigned char>(p[0]);
    return doubleByte ? lead * 256 + static_cast<unsigned char>(p[1]) : lead;
}

// The kinsoku sets as breakAllLines prepared them from the settings, which
// cannot change while it runs.
PreparedKinsokuSets preparedSets;

int isInSet(unsigned code, int doubleByte, KinsokuSetName name) {
    return isInPreparedSet(preparedSets, name, code, doubleByte);
}

bool carriedTabWouldNotFit(int previousIsTab, int width) {
    const LayoutSettings& s = layoutSettings;
    return previousIsTab && int64_t(s.tabCount) + width > s.columns;
}

int decideBreak(const char* current, const char* wordStart, const char* previous,
                int currentIsDoubleByte) {
    const LayoutSettings& s = layoutSettings;
    if (s.wordWrap && wordStart && isWordChar(current[0])) {
        return wordRunLength(wordStart) <= s.columns ? MOVE_WORD : BREAK_BEFORE;
    }
    if (!s.kinsoku) return BREAK_BEFORE;

    unsigned code = characterCode(current, currentIsDoubleByte);
    if (isInSet(code, currentIsDoubleByte, HANGING_SET)) return HANG;

    int previousIsDoubleByte = current - previous == 2;
    unsigned previousCode = characterCode(previous, previousIsDoubleByte);
    int previousIsTab = !previousIsDoubleByte && previous[0] == '\t';
    int width = currentIsDoubleByte ? 2 : 1;

    if (isInSet(code, currentIsDoubleByte, LINE_START_SET)) {
        if (carriedTabWouldNotFit(previousIsTab, width)) return BREAK_BEFORE;
        int previousIsWordChar = !previousIsDoubleByte && isWordChar(previous[0]);
        if (s.wordWrap && previousIsWordChar && wordStart != previous) return BREAK_BEFORE;
        if (isInSet(previousCode, previousIsDoubleByte, LINE_START_SET)) return BREAK_BEFORE;
        return CARRY_PREVIOUS;
    }
    if (isInSet(previousCode, previousIsDoubleByte, LINE_END_SET)) {
        return carriedTabWouldNotFit(previousIsTab, width) ? BREAK_BEFORE : CARRY_PREVIOUS;
    }
    return BREAK_BEFORE;
}

bool storeRowSpan(LineNode* line, int32_t rowIndex, char* rowStart, int32_t charsPlaced,
                 int32_t charsBefore) {
    RowSpan* rows = extendRowTable(line->rows, rowIndex);
    if (!rows) return false;
    line->rows = rows;
    rows[rowIndex].start = rowStart;
    rows[rowIndex].charCount = charsPlaced - charsBefore;
    return true;
}


// Eight bytes at a time: EVERY_BYTE times a byte is that byte eight times.
const uint64_t EVERY_BYTE = 0x0101010101010101ULL, HIGH_BITS = 0x8080808080808080ULL;

// Whether any of the eight bytes at q is a tab or a NUL.
bool hasTabOrNul(const char* q) {
    uint64_t word;
    memcpy(&word, q, sizeof word);
    uint64_t tabs = word ^ (EVERY_BYTE * '\t');
    return (((word - EVERY_BYTE) & ~word) | ((tabs - EVERY_BYTE) & ~tabs)) & HIGH_BITS;
}

// The high bit of each of the eight bytes at q below '\n', which no line
// holds: a tab, a NUL, or a rarer control byte. Cheaper than the exact test
// where a line with any of them may as well take the long way. The lowest
// bit is always true.
uint64_t lowControlBits(const char* q) {
    uint64_t word;
    memcpy(&word, q, sizeof word);
    return (word - EVERY_BYTE * '\n') & ~word & HIGH_BITS;
}

// The characters of a line that surely fits in one row, or -1 for any other
// line. No character is wider in columns than in bytes, except the tab: a
// line of at most `columns` bytes without one never reaches the margin, so
// no rule is ever consulted. Most lines of prose are such lines; one with a
// tab or another byte below the line feed takes the long way.
int32_t charactersOfOneRowLine(const LineNode* line, const GroupTables& tables) {
    if (line->length > layoutSettings.columns) return -1;
    const char* q = line->text;
    const char* end = q + line->length;
    int32_t count = 0;
    int inTrail = 0;
    for (; end - q >= 8; q += 8) {  // q[8] is at most the terminator
        if (lowControlBits(q)) return -1;
        unsigned leads = leadMask(tables, q);
        count += tables.counts[inTrail][leads];
        inTrail = tables.spills[inTrail][leads] && q[8] != '\0';
    }
    // The last bytes, as a group of their own padded with NULs: a character
    // starts in it where it would start before the terminator. They are read
    // as the end of the text's last eight bytes (in memory order) when the
    // text has eight.
    int rest = int(end - q);
    if (rest == 0) return count;
    uint64_t word = 0;
    if (line->length >= 8) {
        memcpy(&word, end - 8, sizeof word);
        word >>= 8 * (8 - rest);
    } else {
        for (int i = rest - 1; i >= 0; --i) word = word << 8 | static_cast<unsigned char>(q[i]);
    }
    char last[8];
    memcpy(last, &word, sizeof word);
    if (lowControlBits(last) & (HIGH_BITS >> (8 * (8 - rest)))) return -1;
    unsigned starts = tables.starts[inTrail][leadMask(tables, last)] & ((1u << rest) - 1);
    starts = starts - ((starts >> 1) & 0x55);  // the bits set, among eight
    starts = (starts & 0x33) + ((starts >> 2) & 0x33);
    return count + int32_t((starts + (starts >> 4)) & 0x0F);
}

struct RowBreaker {
    LineNode* line;
    char* p;
    const char* previous = nullptr;
    const char* wordStart = nullptr;
    int64_t used = 0;
    int32_t placed = 0;
    int32_t charsBefore = 0;  // characters in the rows already ended
    int32_t rowIndex = 0;
    char* rowStart;

    explicit RowBreaker(LineNode* node) : line(node), p(node->text), rowStart(node->text) {}

    int endRow() {
        if (!storeRowSpan(line, rowIndex, rowStart, placed, charsBefore)) return 0;
        charsBefore = placed;
        ++rowIndex;
        rowStart = p;
        used = 0;
        return 1;
    }

    // Where the row must end before the character at p, or null for no break.
    char* breakPointBefore(int doubleByte) {
        const LayoutSettings& s = layoutSettings;
        int width = doubleByte ? 2 : 1;
        if (p == rowStart || used + width <= s.columns) return nullptr;
        if (used > s.columns) return p;  // after a hanging character
        switch (decideBreak(p, wordStart, previous, doubleByte)) {
        case HANG:
            return nullptr;
        case MOVE_WORD:
            // Never leave an empty row behind (possible only on very narrow grids).
            return wordStart > rowStart ? const_cast<char*>(wordStart) : p;
        case CARRY_PREVIOUS:
            return previous > rowStart ? const_cast<char*>(previous) : p;
        default:
            return p;
        }
    }

    void place(int doubleByte) {
        wordStart = isWordChar(p[0]) ? (wordStart ? wordStart : p) : nullptr;
        if (doubleByte) {
            used += 2;
        } else if (p[0] == '\t') {
            used += tabAdvance(used, layoutSettings.tabCount, layoutSettings.columns);
        } else {
            used += 1;
        }
        previous = p;
        p += doubleByte ? 2 : 1;
        ++placed;
    }

    // Places whole groups of eight bytes while every character in them
    // fits whatever its width and none is a tab: most of every row.
    void placeGroupsWhileRoomy() {
        const int64_t roomyUntil = int64_t(layoutSettings.columns) - 2;
        const char* end = line->text + line->length;
        const GroupTables& tables = groupTables();
        const char* q = p;
        int inTrail = 0;
        int64_t filled = used;
        // A character starting at q + 7 still fits, and p[8] is within the text.
        while (filled + 7 <= roomyUntil && end - q > 8 && !hasTabOrNul(q)) {
            ByteGroup group = classifyGroup(tables, q, inTrail);
            int lastStart = 31 - __builtin_clz(group.starts);
            previous = q + lastStart;
            trackWordIn(group, q, lastStart);
            placed += group.count;
            inTrail = group.endsInTrail;
            q += 8;
            filled += 8;
        }
        p = const_cast<char*>(q) + inTrail;
        used = filled + inTrail;
    }

    // wordStart after a group whose last character starts at bit lastStart.
    void trackWordIn(const ByteGroup& group, const char* q, int lastStart) {
        if (!(group.words >> lastStart & 1)) {
            wordStart = nullptr;
            return;
        }
        unsigned below = (2u << lastStart) - 1;
        unsigned breaks = ~group.words & below;
        if (breaks) {
            wordStart = q + (31 - __builtin_clz(breaks)) + 1;
        } else if (!wordStart) {
            wordStart = q;  // the word began with this group
        }
    }

    // Places characters while any character fits whole and no tab needs
    // its stop: the common case, kept free of unpredictable branches.
    void placeWhileRoomy() {
        if (rowBreakingByGroups) placeGroupsWhileRoomy();
        const int64_t roomyUntil = int64_t(layoutSettings.columns) - 2;
        const char* q = p;
        const char* last = previous;
        const char* word = wordStart;
        int64_t filled = used;
        int32_t count = placed;
        while (filled <= roomyUntil) {
            unsigned char c = static_cast<unsigned char>(*q);
            if (c == '\0' || c == '\t') break;
            int width = 1 + (isLeadByte(c) & (q[1] != '\0'));
            // Word characters are single ASCII bytes, never lead bytes.
            word = isWordChar(char(c)) ? (word ? word : q) : nullptr;
            last = q;
            q += width;
            filled += width;
            ++count;
        }
        p = const_cast<char*>(q);
        previous = last;
        wordStart = word;
        used = filled;
        placed = count;
    }

    int run() {
        for (;;) {
            placeWhileRoomy();
            if (!*p) break;
            int doubleByte = isDoubleByte(p);
            char* breakPoint = breakPointBefore(doubleByte);
            if (breakPoint) {
                placed -= int32_t(countCharacters(breakPoint, p));
                p = breakPoint;
                if (!endRow()) return 0;
                doubleByte = isDoubleByte(p);
            }
            place(doubleByte);
        }
        return endRow();
    }

    // Characters between a break point and p: a moved word is single bytes,
    // a carried character is one.
    int64_t countCharacters(const char* from, const char* to) const {
        if (from == to) return 0;
        return from == previous ? 1 : to - from;
    }
};


void breakLineWith(LineNode* line, const GroupTables& tables) {
    if (!line->text) {  // only a line whose load ran out of memory
        line->rows = nullptr;
        line->rowCount = 1;
        line->charCount = 0;
        return;
    }
    int32_t characters = rowBreakingByGroups ? charactersOfOneRowLine(line, tables) : -1;
    line->rows = nullptr;
    if (characters >= 0) {
        line->charCount = characters;
        line->rowCount = 1;
        return;
    }
    RowBreaker breaker(line);
    int ok = breaker.run();
    line->charCount = breaker.placed;
    line->rowCount = ok ? breaker.rowIndex : breaker.rowIndex + 1;
    // A line of one row needs no table, and one that could not grow keeps
    // the rows before the failed one: either way it goes back (the latest
    // carve, so its space is free again at once).
    if (!ok || breaker.rowIndex == 1) {
        dropRowTable(line->rows, breaker.rowIndex);
        line->rows = nullptr;
    }
}

}  // namespace

namespace {

// Lines from `first` up to `end` (null: to the last), and the rows they make.
struct LineRange {
    LineNode* first;
    LineNode* end;
    int64_t rows;
};

void breakRange(LineRange* range, const GroupTables& tables) {
    for (LineNode* line = range->first; line != range->end; line = line->next) {
        breakLineWith(line, tables);
        range->rows += line->rowCount;
    }
}

// Where the second half of a long document begins, or null for a document
// short enough that a second thread would not pay for itself.
LineNode* secondHalf() {
    if (lineCounter < PARALLEL_BREAK_LINES) return nullptr;
    LineNode* line = head;
    for (int32_t k = lineCounter / 2; k > 0 && line; --k) line = line->next;
    return line;
}

}  // namespace

void breakAllLines(int32_t columns) {
    layoutSettings.columns = columns;
    if (layoutSettings.kinsoku) {
        const LayoutSettings& s = layoutSettings;
        prepareKinsokuSets(&preparedSets, s.kinsokuLineStart, s.kinsokuHanging, s.kinsokuLineEnd);
    }
    restartRowTables();
    const GroupTables& tables = groupTables();
    // A long document is broken in two halves at once, the second with row
    // tables of its own; without a second thread this one takes both.
    LineNode* middle = secondHalf();
    LineRange first{head, middle, 0}, second{middle, nullptr, 0};
    std::thread helper;
    if (middle) {
        try {
            helper = std::thread([&second, &tables] {
                useRowStore(1);
                breakRange(&second, tables);
            });
        } catch (...) {
            first.end = nullptr;
        }
    }
    breakRange(&first, tables);
    if (helper.joinable()) helper.join();
    trimRowTables();
    int64_t rows = first.rows + second.rows;
    totalRows = rows > INT32_MAX ? INT32_MAX : int32_t(rows);
}
