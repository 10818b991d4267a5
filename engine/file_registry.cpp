#include "engine/file_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/archive.h"
#include "platform/folders.h"
#include "platform/message_box.h"

FileRegistry fileRegistry;

namespace {

uint8_t upperCaseByte(uint8_t c) {
    // Latin a-z and the Cyrillic lower-case letters of code page 1251 (0xE0-0xFF).
    if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<uint8_t>(c - 32);
    return c;
}

void removeEntry(int index) {
    fileRegistry.entries.removeAt(index);
}

bool pointsInto(const FileEntry& entry, const uint8_t* buffer, size_t bytes) {
    // bytes includes the spare byte after the data, so a zero-length last entry counts too.
    // Compared as addresses: the entry's data may belong to any other allocation.
    uintptr_t at = reinterpret_cast<uintptr_t>(entry.data), start = reinterpret_cast<uintptr_t>(buffer);
    return at >= start && at - start < bytes;
}

// Frees or keeps an archive buffer whose own entry was just removed. Packed files still registered
// point into it, so it stays alive; when no place is left to keep it, those entries go first, so that no
// lookup can ever return data of a freed archive.
void retireArchive(uint8_t* buffer, size_t bytes) {
    bool referenced = false;
    for (const FileEntry& entry : fileRegistry.entries) {
        if (pointsInto(entry, buffer, bytes)) referenced = true;
    }
    if (referenced && fileRegistry.keptArchives.push(buffer)) return;
    for (int i = fileRegistry.entries.size() - 1; i >= 0; --i) {
        if (pointsInto(fileRegistry.entries[i], buffer, bytes)) removeEntry(i);
    }
    std::free(buffer);
}

bool releaseAt(int index) {
    FileEntry entry = fileRegistry.entries[index];
    removeEntry(index);
    if (entry.archiveBytes > 0) {
        retireArchive(entry.data, entry.archiveBytes);
    } else if (entry.owned) {
        std::free(entry.data);
    }
    return true;
}

std::string diskPath(const char* name) {
    std::string path = name;
    // Callers may name folders the way the data was first laid out ("levels\\tut1_01.lvl").
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (!path.empty() && path[0] == '/') return path;
    return dataFolder() + path;
}

// Reads a regular file whole into a new buffer with one 0 byte after the data.
uint8_t* readDiskFile(const std::string& path, int* size, size_t maxBytes = SIZE_MAX) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size >= INT_MAX ||
        static_cast<size_t>(st.st_size) > maxBytes) {
        close(fd);
        return nullptr;
    }
    size_t bytes = static_cast<size_t>(st.st_size);
    uint8_t* buffer = static_cast<uint8_t*>(std::malloc(bytes + 1));
    size_t got = 0;
    while (buffer && got < bytes) {
        ssize_t n = read(fd, buffer + got, bytes - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (!buffer || got != bytes) {
        std::free(buffer);
        return nullptr;
    }
    buffer[bytes] = 0;
    *size = static_cast<int>(bytes);
    return buffer;
}

} // namespace

void resetFileRegistry() {
    for (FileEntry& entry : fileRegistry.entries) {
        if (entry.owned) std::free(entry.data);
    }
    for (uint8_t* buffer : fileRegistry.keptArchives) std::free(buffer);
    fileRegistry.entries.clear();
    fileRegistry.keptArchives.clear();
    fileRegistry.diskReads = 0;
}

void upperCaseFileName(char* dest, size_t capacity, const char* name) {
    size_t i = 0;
    for (; i + 1 < capacity && name[i]; ++i)
        dest[i] = static_cast<char>(upperCaseByte(static_cast<uint8_t>(name[i])));
    dest[i] = 0;
}

bool registerFile(const char* name, int size, uint8_t* data, bool owned) {
    if (fileRegistry.entries.full() || std::strlen(name) > kMaxFileNameLength || size < 0) return false;
    FileEntry& entry = *fileRegistry.entries.add();
    upperCaseFileName(entry.name, sizeof(entry.name), name);
    entry.size = size;
    entry.data = data;
    entry.owned = owned;
    entry.archiveBytes = 0;
    if (fileRegistry.onFileRegistered) fileRegistry.onFileRegistered(size);
    return true;
}

void loadArchive(const char* fileName) {
    // One buffer for the whole archive; packed files are unscrambled in place and point into it. The
    // spare byte after the data keeps the pointer of a zero-length last entry inside the allocation.
    int bytes = 0;
    uint8_t* buffer = readDiskFile(diskPath(fileName), &bytes);
    if (!buffer) return;
    size_t total = static_cast<size_t>(bytes);
    if (!registerFile(fileName, 0, buffer, true)) {
        std::free(buffer);
        return;
    }
    fileRegistry.entries.back().archiveBytes = total + 1;
    bool full = false;
    ArchiveScan scan = scanArchive(buffer, total, [&](const ArchiveEntry& entry) {
        if (full) return;
        uint8_t* data = buffer + entry.dataOffset;
        scrambleBytes(data, entry.size, entry.name);
        char name[kMaxArchiveNameLength + 1];
        std::memcpy(name, entry.name.data(), entry.name.size());
        name[entry.name.size()] = 0;
        if (!registerFile(name, static_cast<int>(entry.size), data, false)) full = true;
    });
    // A damaged archive keeps the entries read before the fault; the missing files are looked for on disk.
    if (!scan.ok) {
        std::fprintf(stderr, "%s: damaged at offset %zu (%s); later entries ignored\n", fileName,
                     scan.faultOffset, scan.fault);
    }
    if (full) std::fprintf(stderr, "%s: the file registry is full; later entries ignored\n", fileName);
}

FileEntry* findFile(const char* name) {
    char key[kMaxFileNameLength + 2];
    // One byte more than a registered name may have, so that a longer name can never match a cut one.
    upperCaseFileName(key, sizeof(key), name);
    for (FileEntry& entry : fileRegistry.entries) {
        if (std::strcmp(entry.name, key) == 0) return &entry;
    }
    return nullptr;
}

uint8_t* openFile(const char* name, int* size, bool fatal) {
    if (FileEntry* entry = findFile(name)) {
        if (size) *size = entry->size;
        return entry->data;
    }
    int bytes = 0;
    uint8_t* data = nullptr;
    if (std::strlen(name) <= kMaxFileNameLength) data = readDiskFile(diskPath(name), &bytes);
    if (data) {
        fileRegistry.diskReads++;
        if (registerFile(name, bytes, data, true)) {
            if (size) *size = bytes;
            return data;
        }
        // A file that cannot be registered could never be released: treat the full registry as a miss.
        std::fprintf(stderr, "%s: the file registry is full\n", name);
        std::free(data);
    }
    if (fatal) {
        char text[kMaxFileNameLength + 64];
        std::snprintf(text, sizeof(text), "Can't load %s...\nProgram will now stop.", name);
        fatalError("Loading Error", text, 1);
    }
    return nullptr;
}

bool releaseFile(const void* data) {
    if (!data) return false;
    for (int i = 0; i < fileRegistry.entries.size(); ++i) {
        if (fileRegistry.entries[i].data == data) return releaseAt(i);
    }
    return false;
}

bool releaseFileByName(const char* name) {
    FileEntry* entry = findFile(name);
    if (!entry) return false;
    return releaseAt(static_cast<int>(entry - fileRegistry.entries.begin()));
}

namespace {
// The crash-safety check's slow disk: PEBBLECRAFT_SLOW_WRITES=MS makes every write of a chunk, the flush
// and the rename of a player file wait that long first, so that a kill lands inside them. 0: at full speed.
constexpr size_t kSlowChunkBytes = 16 * 1024;

unsigned slowWritesMs() {
    static const unsigned ms = [] {
        const char* v = std::getenv("PEBBLECRAFT_SLOW_WRITES");
        long n = v ? std::strtol(v, nullptr, 10) : 0;
        return n > 0 && n < 10000 ? static_cast<unsigned>(n) : 0u;
    }();
    return ms;
}

void slowDisk() {
    if (unsigned ms = slowWritesMs()) usleep(ms * 1000);
}
} // namespace

bool writeWholeFile(const std::string& path, const void* data, size_t size) {
    std::string temporary = path + ".new";
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fileRegistry.failedWrites += 1;
        return false;
    }
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    bool ok = true;
    size_t chunk = slowWritesMs() ? kSlowChunkBytes : SIZE_MAX;
    while (done < size) {
        slowDisk();
        ssize_t n = write(fd, bytes + done, std::min(size - done, chunk));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    // The data must be on the disk before the new name points at it.
    if (ok) slowDisk();
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok) {
        slowDisk();
        int (*renameFunction)(const char*, const char*) =
            fileRegistry.renameFile ? fileRegistry.renameFile : std::rename;
        ok = renameFunction(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        unlink(temporary.c_str());
        fileRegistry.failedWrites += 1;
        return false;
    }
    // Make the rename itself durable.
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes) {
    int size = 0;
    uint8_t* data = readDiskFile(path, &size, maxBytes);
    if (!data) return false;
    out.assign(data, data + size);
    std::free(data);
    return true;
}
