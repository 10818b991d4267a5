#include "engine/archive.h"

#include <cstring>

#include "engine/file_registry.h"
#include "engine/limits.h"

ArchiveScan scanArchive(const uint8_t* data, size_t size,
                        const std::function<void(const ArchiveEntry&)>& visit) {
    ArchiveScan scan;
    size_t pos = 0;
    while (pos < size) {
        // The name ends at the first 0 byte; look no further than the longest name allows.
        size_t limit = size - pos < kMaxArchiveNameLength + 1 ? size - pos : kMaxArchiveNameLength + 1;
        const void* zero = std::memchr(data + pos, 0, limit);
        if (!zero) {
            scan.ok = false;
            scan.faultOffset = pos;
            scan.fault = limit <= kMaxArchiveNameLength ? "name without its terminating zero"
                                                        : "name longer than 67 bytes";
            return scan;
        }
        size_t nameLength = static_cast<const uint8_t*>(zero) - (data + pos);
        if (nameLength == 0) {
            scan.ok = false;
            scan.faultOffset = pos;
            scan.fault = "empty name";
            return scan;
        }
        size_t sizeAt = pos + nameLength + 1;
        if (size - sizeAt < 4) {
            scan.ok = false;
            scan.faultOffset = pos;
            scan.fault = "entry cut inside its size field";
            return scan;
        }
        uint32_t dataSize =
            static_cast<uint32_t>(data[sizeAt]) | static_cast<uint32_t>(data[sizeAt + 1]) << 8 |
            static_cast<uint32_t>(data[sizeAt + 2]) << 16 | static_cast<uint32_t>(data[sizeAt + 3]) << 24;
        size_t dataAt = sizeAt + 4;
        if (dataSize > size - dataAt) {
            scan.ok = false;
            scan.faultOffset = pos;
            scan.fault = "entry runs past the end of the archive";
            return scan;
        }
        ArchiveEntry entry;
        entry.name = std::string_view(reinterpret_cast<const char*>(data + pos), nameLength);
        entry.size = dataSize;
        entry.nameOffset = pos;
        entry.dataOffset = dataAt;
        if (visit) visit(entry);
        scan.entryCount++;
        pos = dataAt + dataSize;
    }
    return scan;
}

void scrambleBytes(uint8_t* data, size_t size, std::string_view key) {
    if (key.empty()) return;
    size_t k = 0;
    for (size_t i = 0; i < size; ++i) {
        data[i] ^= static_cast<uint8_t>(key[k]);
        if (++k == key.size()) k = 0;
    }
}

bool isValidArchiveName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxArchiveNameLength && name.find('\0') == std::string_view::npos;
}

bool appendArchiveEntry(std::vector<uint8_t>& archive, std::string_view name, const uint8_t* data,
                        size_t size) {
    if (!isValidArchiveName(name) || size > 0xFFFFFFFFu) return false;
    archive.insert(archive.end(), name.begin(), name.end());
    archive.push_back(0);
    for (int shift = 0; shift < 32; shift += 8) archive.push_back(static_cast<uint8_t>(size >> shift));
    size_t dataAt = archive.size();
    archive.insert(archive.end(), data, data + size);
    scrambleBytes(archive.data() + dataAt, size, name);
    return true;
}

bool writeArchiveFile(const std::string& path, const std::vector<ArchiveFile>& files, std::string* error) {
    std::vector<uint8_t> archive;
    for (const ArchiveFile& file : files) {
        if (!appendArchiveEntry(archive, file.name, file.bytes.data(), file.bytes.size())) {
            if (error) *error = "cannot store \"" + file.name + "\": a name needs 1 to 67 bytes";
            return false;
        }
    }
    if (!writeWholeFile(path, archive.data(), archive.size())) {
        if (error) *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool readArchiveFiles(const uint8_t* data, size_t size, std::vector<ArchiveFile>& files, ArchiveScan* scan) {
    ArchiveScan result = scanArchive(data, size, [&](const ArchiveEntry& entry) {
        ArchiveFile file;
        file.name = std::string(entry.name);
        file.bytes.assign(data + entry.dataOffset, data + entry.dataOffset + entry.size);
        scrambleBytes(file.bytes.data(), file.bytes.size(), entry.name);
        files.push_back(std::move(file));
    });
    if (scan) *scan = result;
    return result.ok;
}
