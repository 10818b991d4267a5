// The data archive format shared by the game, the packer and the data builder.
//
// An archive has no header and no directory: it is a sequence of entries ending exactly at the end of
// the file. Each entry is the name (1 to 67 bytes, then a 0 byte), the data size (4 bytes, unsigned,
// little-endian) and the data, each byte XORed with the entry's name byte (i mod name length).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct ArchiveEntry {
    std::string_view name; // as stored (the scrambling key), points into the archive buffer
    uint32_t size = 0;     // data bytes
    size_t nameOffset = 0; // offset of the entry (its name) in the archive
    size_t dataOffset = 0; // offset of the data in the archive
};

struct ArchiveScan {
    int entryCount = 0;     // entries read before the end or the fault
    bool ok = true;         // false: the archive is malformed at faultOffset
    size_t faultOffset = 0; // offset of the entry that could not be read
    const char* fault = ""; // what was wrong with it
};

struct ArchiveFile {
    std::string name;           // stored name (for the packer: the file's base name)
    std::vector<uint8_t> bytes; // plain contents
};

// Walks the entries of an archive held in memory; every read stays inside [data, data + size).
// visit is called for each well-formed entry in order; reading stops at the first fault.
ArchiveScan scanArchive(const uint8_t* data, size_t size,
                        const std::function<void(const ArchiveEntry&)>& visit);

void scrambleBytes(uint8_t* data, size_t size, std::string_view key); // XOR with the key; its own inverse
bool isValidArchiveName(std::string_view name);                       // 1..67 bytes, no 0 byte

// Appends one entry (scrambled) to an archive image; false when the name is not valid or the data too big.
bool appendArchiveEntry(std::vector<uint8_t>& archive, std::string_view name, const uint8_t* data,
                        size_t size);
// Writes a whole archive of the given files; false (with a message in error) when a name is invalid or
// the file cannot be written. The file is written beside and renamed over, like every file we write.
bool writeArchiveFile(const std::string& path, const std::vector<ArchiveFile>& files, std::string* error);
// Reads every entry of an archive image, unscrambled; false when malformed (the entries before the fault
// are in files, the scan result says where).
bool readArchiveFiles(const uint8_t* data, size_t size, std::vector<ArchiveFile>& files, ArchiveScan* scan);
