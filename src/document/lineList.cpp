#include "lineList.h"

#include <cstdint>
#include <cstring>

#include "allocation.h"

LineNode* head = nullptr;
LineNode* tail = nullptr;
int32_t lineCounter = 0;

LineNode* newLine() {
    LineNode* node = static_cast<LineNode*>(allocateZeroed(sizeof(LineNode)));
    if (!node) return nullptr;
    node->lineNumber = ++lineCounter;
    return node;
}

int freeLine(LineNode* node) {
    releaseBytes(node->text);
    releaseBytes(node->rows);
    releaseBytes(node);
    --lineCounter;
    return 1;
}

void clearLineList() {
    LineNode* node = head;
    while (node) {
        LineNode* next = node->next;
        freeLine(node);
        node = next;
    }
    head = nullptr;
    tail = nullptr;
    lineCounter = 0;
}

LineNode* newEmptyLine() {
    LineNode* node = newLine();
    if (!node) return nullptr;
    node->text = static_cast<char*>(allocateBytes(1));
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

static int appendBytes(LineNode* node, const char* bytes, int32_t count) {
    if (!node->text) {
        node->text = static_cast<char*>(allocateBytes(size_t(count) + 1));
        if (!node->text) return 0;
        memcpy(node->text, bytes, size_t(count));
        node->length = count;
    } else if (count > 0) {
        // A line's length is an int32: refuse to grow past it, like running out of memory.
        if (count > INT32_MAX - 1 - node->length) return 0;
        char* grown = static_cast<char*>(
            reallocateBytes(node->text, size_t(node->length) + size_t(count) + 1));
        if (!grown) return 0;
        node->text = grown;
        memcpy(node->text + node->length, bytes, size_t(count));
        node->length += count;
    }
    node->text[node->length] = '\0';
    return 1;
}

LineNode* appendLineText(LineNode* node, int continuing, const char* bytes, int32_t count) {
    if (!node) {
        node = newLine();
        if (!node) return nullptr;
        head = node;
        tail = node;
    } else if (!continuing) {
        node = linkNewTail();
        if (!node) return nullptr;
    }
    if (!appendBytes(node, bytes, count)) return nullptr;
    return node;
}
