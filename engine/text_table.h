// The text table: every text the player reads is looked up here by a short key.
//
// Filled at start-up from "2strings.txt", "2tips.txt" and "2menutext.txt" in that order. Two kinds of
// entry: a line "key=value" ended by CR LF, and a block "[key/]text[/key]" that keeps its inner line
// breaks. Keys compare exactly; when a key occurs twice the first occurrence wins.
#pragma once

#include <string_view>

#include "engine/limits.h"
#include "platform/fixed_list.h"

struct TextEntry {
    char key[kMaxTextKeyLength + 1]; // as written in the file, at most 19 characters
    char* text;                      // own allocation, 0-terminated
};

struct TextTable {
    FixedList<TextEntry, kMaxTexts> entries; // in the order of the files and their lines; full refuses
};

extern TextTable textTable;

void loadTextTable(const char* fileName); // appends a table file's entries; a missing file is fatal
// Appends the entries of a table file held in memory (its last byte is the file's end and never text).
void parseTextTable(const char* data, int size);
const char* findText(const char* key); // the text, or null for an unknown key
const char* textAt(int index);         // the text of entry index, or null past the end
int indexOfText(const char* key);      // the entry's index, or 0 for an unknown key
void freeTextTable();                  // frees every text and empties the table (exit, tests)
