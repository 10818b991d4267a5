#include "engine/text_table.h"

#include <cstdlib>
#include <cstring>

#include "engine/file_registry.h"

TextTable textTable;

namespace {

// The file's last byte stands for its end: it reads as 0 and no search finds anything in it.
struct TableReader {
    const char* data;
    int last; // index of the last byte

    unsigned at(int i) const { return i >= last ? 0u : static_cast<unsigned char>(data[i]); }

    int find(int from, char c) const {
        for (int i = from; i < last; ++i) {
            if (data[i] == c) return i;
        }
        return -1;
    }

    int findPair(int from, char a, char b) const {
        for (int i = from; i + 1 < last; ++i) {
            if (data[i] == a && data[i + 1] == b) return i;
        }
        return -1;
    }

    // The line's end: two consecutive control bytes (CR LF, or CR and the file's end).
    int findLineEnd(int from) const {
        for (int i = from; i < last; ++i) {
            if (at(i) < 0x20 && at(i + 1) < 0x20) return i;
        }
        return -1;
    }
};

// Stores an entry; keys longer than a key field holds are rejected, never cut into another key.
void storeEntry(const char* key, int keyLength, const char* text, int textLength) {
    if (keyLength > kMaxTextKeyLength || textTable.entries.full()) return;
    char* copy = static_cast<char*>(std::malloc(static_cast<size_t>(textLength) + 1));
    if (!copy) return;
    std::memcpy(copy, text, static_cast<size_t>(textLength));
    copy[textLength] = 0;
    TextEntry& entry = *textTable.entries.add();
    std::memcpy(entry.key, key, static_cast<size_t>(keyLength));
    entry.key[keyLength] = 0;
    entry.text = copy;
}

} // namespace

void parseTextTable(const char* data, int size) {
    if (!data || size <= 0) return;
    TableReader r{data, size - 1};
    int pos = 0;
    while (!textTable.entries.full()) {
        while (pos < r.last && r.at(pos) < 0x21) pos++;
        if (pos >= r.last) return;
        if (data[pos] == '[') {
            int keyEnd = r.findPair(pos + 1, '/', ']');
            if (keyEnd < 0) return;
            int textStart = keyEnd + 2;
            while (textStart < r.last && r.at(textStart) < 0x20) textStart++;
            int textEnd = r.find(textStart, '[');
            if (textEnd < 0) return;
            storeEntry(data + pos + 1, keyEnd - pos - 1, data + textStart, textEnd - textStart);
            int close = r.find(textEnd, ']');
            if (close < 0) return;
            pos = close + 1;
        } else {
            int equals = r.find(pos, '=');
            if (equals < 0) return;
            int lineEnd = r.findLineEnd(equals + 1);
            if (lineEnd < 0) return;
            storeEntry(data + pos, equals - pos, data + equals + 1, lineEnd - equals - 1);
            pos = lineEnd + 2;
        }
    }
}

void loadTextTable(const char* fileName) {
    int size = 0;
    uint8_t* data = openFile(fileName, &size, true);
    if (!data) return;
    parseTextTable(reinterpret_cast<const char*>(data), size);
    releaseFile(data);
}

const char* findText(const char* key) {
    for (const TextEntry& entry : textTable.entries) {
        if (std::strcmp(entry.key, key) == 0) return entry.text;
    }
    return nullptr;
}

const char* textAt(int index) {
    if (index < 0 || index >= textTable.entries.size()) return nullptr;
    return textTable.entries[index].text;
}

int indexOfText(const char* key) {
    for (int i = 0; i < textTable.entries.size(); ++i) {
        if (std::strcmp(textTable.entries[i].key, key) == 0) return i;
    }
    return 0;
}

void freeTextTable() {
    for (TextEntry& entry : textTable.entries) std::free(entry.text);
    textTable.entries.clear();
}
