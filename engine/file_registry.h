// The file registry: every file the game reads is asked for by name here.
//
// At start-up the three data archives are read whole and each packed file is registered by name,
// pointing into its archive's buffer. A request looks in the registry first, so packed files shadow
// files on disk, and then in the data folder; a file read from disk is registered too, so it is read
// once until it is released. Names compare after upper-casing a-z and the bytes 0xE0-0xFF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/limits.h"
#include "platform/fixed_list.h"

struct FileEntry {
    char name[kMaxFileNameLength + 1]; // registered name, upper-cased
    int size;                          // bytes of data (0 for the entry holding a whole archive)
    uint8_t* data;                     // contents; one extra 0 byte follows files read from disk
    bool owned;                        // the registry frees data on release (archives, disk files)
    size_t archiveBytes;               // for an archive's own entry: bytes of its buffer; else 0
};

struct FileRegistry {
    FixedList<FileEntry, kMaxFiles> entries; // in order of registration; full refuses
    FixedList<uint8_t*, kMaxKeptArchives>
        keptArchives;     // released archive buffers still holding registered files
    int diskReads = 0;    // files read from disk so far (tests, diagnostics)
    int failedWrites = 0; // writeWholeFile calls that left the old file (since launch)
    void (*onFileRegistered)(int size) = nullptr;                  // the loading bar's report; set by the app
    int (*renameFile)(const char* from, const char* to) = nullptr; // replaces rename() in tests
};

extern FileRegistry fileRegistry;

void resetFileRegistry(); // frees every owned buffer and empties the registry (tests); keeps the hooks

void upperCaseFileName(char* dest, size_t capacity, const char* name); // the name rule, cut to fit
void loadArchive(const char* fileName); // registers every packed file; a missing archive is skipped
// Registry, then the data folder (relative names; absolute paths as given). Not found: null, or with
// fatal the "Loading Error" box and exit code 1. size receives the byte count when given.
uint8_t* openFile(const char* name, int* size, bool fatal);
bool registerFile(const char* name, int size, uint8_t* data,
                  bool owned);            // false when full or the name too long
FileEntry* findFile(const char* name);    // first registration of the name, or null
bool releaseFile(const void* data);       // removes the entry holding this buffer; frees it if owned
bool releaseFileByName(const char* name); // the same, found by name
// Writes the whole buffer to a new file beside path, flushes it to the disk and renames it over path,
// so a crash or a full disk leaves the previous file. False (and the old file untouched) on any failure.
bool writeWholeFile(const std::string& path, const void* data, size_t size);
// Reads a whole file into out (not registered); false when it cannot be read or is above maxBytes.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes = SIZE_MAX);
