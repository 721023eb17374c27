#include "lineList.h"

#include <cstdint>
#include <cstring>

#include "blockStore.h"
#include "byteCopy.h"

LineNode* head = nullptr;
LineNode* tail = nullptr;
int32_t lineCounter = 0;

namespace {

// Texts have a store of their own, so that the text of the line being read
// is always the latest carve there and grows in place.
BlockStore nodeStore;
BlockStore textStore;
// Row tables have a store for each thread that breaks lines (see
// breakAllLines): carving is not shared between threads.
BlockStore rowStores[ROW_STORE_COUNT];
thread_local BlockStore* rowStore = &rowStores[0];

}  // namespace

LineNode* newLine() {
    LineNode* node =
        static_cast<LineNode*>(carveBytes(&nodeStore, sizeof(LineNode), alignof(LineNode)));
    if (!node) return nullptr;
    *node = LineNode{};
    node->lineNumber = ++lineCounter;
    return node;
}

// The space of a line comes back with the whole document, or at once when
// it was the latest carve (a line given up while it was being made).
int freeLine(LineNode* node) {
    if (node->text) giveBackCarve(&textStore, node->text, size_t(node->length) + 1);
    giveBackCarve(&nodeStore, node, sizeof(LineNode));
    --lineCounter;
    return 1;
}

void clearLineList() {
    releaseStore(&nodeStore);
    releaseStore(&textStore);
    for (BlockStore& store : rowStores) releaseStore(&store);
    head = nullptr;
    tail = nullptr;
    lineCounter = 0;
}

LineNode* newEmptyLine() {
    LineNode* node = newLine();
    if (!node) return nullptr;
    node->text = static_cast<char*>(carveBytes(&textStore, 1, 1));
    if (!node->text) {
        freeLine(node);
        return nullptr;
    }
    node->text[0] = '\0';
    node->rowCount = 1;
    return node;
}

static LineNode* linkNewTail() {
    LineNode* node = newLine();
    if (!node) return nullptr;
    if (tail) {
        tail->next = node;
        node->prev = tail;
    } else {
        head = node;
    }
    tail = node;
    return node;
}

char* appendBlockText(LineNode* continuing, const char* bytes, int32_t count) {
    char* at;
    if (continuing) {
        if (count > INT32_MAX - 1 - continuing->length) return nullptr;
        size_t size = size_t(continuing->length) + 1;
        char* grown = static_cast<char*>(
            growCarve(&textStore, continuing->text, size, size + size_t(count), 1));
        if (!grown) return nullptr;
        continuing->text = grown;
        at = grown + continuing->length;
    } else {
        at = static_cast<char*>(carveBytes(&textStore, size_t(count) + 1, 1));
        if (!at) return nullptr;
    }
    copyBytes(at, bytes, size_t(count));
    at[count] = '\0';
    return at;
}

LineNode* linkLineAt(char* text, int32_t length) {
    LineNode* node = linkNewTail();
    if (!node) return nullptr;
    node->text = text;
    node->length = length;
    return node;
}

RowSpan* extendRowTable(RowSpan* rows, int32_t entries) {
    size_t entry = sizeof(RowSpan);
    if (entries == 0) return static_cast<RowSpan*>(carveBytes(rowStore, entry, alignof(RowSpan)));
    size_t size = size_t(entries) * entry;
    return static_cast<RowSpan*>(growCarve(rowStore, rows, size, size + entry, alignof(RowSpan)));
}

void dropRowTable(RowSpan* rows, int32_t entries) {
    if (rows && entries > 0) giveBackCarve(rowStore, rows, size_t(entries) * sizeof(RowSpan));
}

void useRowStore(int index) {
    rowStore = &rowStores[index];
}

void restartRowTables() {
    for (BlockStore& store : rowStores) restartStore(&store);
}

void trimRowTables() {
    for (BlockStore& store : rowStores) trimStore(&store);
}

