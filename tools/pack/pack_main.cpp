// pebblecraft-pack: create, list and extract the game's data archives.
//
//   pebblecraft-pack create ARCHIVE FILE...   store each file under its base name
//   pebblecraft-pack list ARCHIVE             one line per entry: name, a space, the size in bytes
//   pebblecraft-pack extract ARCHIVE DIR      write every entry, unscrambled, into DIR
//
// Exit codes: 0 done, 1 usage or file error, 2 malformed archive (the entries before the fault are
// listed or extracted first).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/archive.h"
#include "engine/file_registry.h"
#include "platform/folders.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: pebblecraft-pack create ARCHIVE FILE...\n"
                         "       pebblecraft-pack list ARCHIVE\n"
                         "       pebblecraft-pack extract ARCHIVE DIR\n");
    return 1;
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Names compare the way the game compares them, so two files the game could not tell apart are refused.
std::string lookupName(const std::string& name) {
    char upper[kMaxFileNameLength + 2];
    upperCaseFileName(upper, sizeof(upper), name.c_str());
    return upper;
}

int create(const std::string& archive, int count, char** paths) {
    std::vector<ArchiveFile> files;
    for (int i = 0; i < count; ++i) {
        ArchiveFile file;
        file.name = baseName(paths[i]);
        if (!readWholeFile(paths[i], file.bytes)) {
            std::fprintf(stderr, "pebblecraft-pack: cannot read %s\n", paths[i]);
            return 1;
        }
        for (const ArchiveFile& other : files) {
            if (lookupName(other.name) == lookupName(file.name)) {
                std::fprintf(stderr, "pebblecraft-pack: two files named %s\n", file.name.c_str());
                return 1;
            }
        }
        files.push_back(std::move(file));
    }
    std::string error;
    if (!writeArchiveFile(archive, files, &error)) {
        std::fprintf(stderr, "pebblecraft-pack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

bool readArchive(const std::string& archive, std::vector<uint8_t>& bytes) {
    if (readWholeFile(archive, bytes)) return true;
    std::fprintf(stderr, "pebblecraft-pack: cannot read %s\n", archive.c_str());
    return false;
}

int reportFault(const std::string& archive, const ArchiveScan& scan) {
    std::fprintf(stderr, "pebblecraft-pack: %s is malformed at offset %zu: %s\n", archive.c_str(),
                 scan.faultOffset, scan.fault);
    return 2;
}

int list(const std::string& archive) {
    std::vector<uint8_t> bytes;
    if (!readArchive(archive, bytes)) return 1;
    ArchiveScan scan = scanArchive(bytes.data(), bytes.size(), [](const ArchiveEntry& entry) {
        std::fwrite(entry.name.data(), 1, entry.name.size(), stdout);
        std::printf(" %u\n", entry.size);
    });
    std::fflush(stdout);
    return scan.ok ? 0 : reportFault(archive, scan);
}

// A stored name may carry a folder prefix ("levels\\x.lvl"); it becomes a sub-folder of DIR, but no
// name may leave DIR.
bool safeRelativePath(const std::string& name, std::string& out) {
    out = name;
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    if (out.empty() || out[0] == '/') return false;
    size_t start = 0;
    while (start <= out.size()) {
        size_t end = out.find('/', start);
        if (end == std::string::npos) end = out.size();
        std::string part = out.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

int extract(const std::string& archive, const std::string& folder) {
    std::vector<uint8_t> bytes;
    if (!readArchive(archive, bytes)) return 1;
    std::vector<ArchiveFile> files;
    ArchiveScan scan;
    readArchiveFiles(bytes.data(), bytes.size(), files, &scan);
    std::string root = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    if (!makeFolders(root)) {
        std::fprintf(stderr, "pebblecraft-pack: cannot create %s\n", root.c_str());
        return 1;
    }
    int result = 0;
    for (const ArchiveFile& file : files) {
        std::string relative;
        if (!safeRelativePath(file.name, relative)) {
            std::fprintf(stderr, "pebblecraft-pack: skipped an entry named %s: it would leave %s\n",
                         file.name.c_str(), root.c_str());
            result = 1;
            continue;
        }
        std::string path = root + relative;
        size_t slash = path.find_last_of('/');
        if (!makeFolders(path.substr(0, slash + 1)) ||
            !writeWholeFile(path, file.bytes.data(), file.bytes.size())) {
            std::fprintf(stderr, "pebblecraft-pack: cannot write %s\n", path.c_str());
            result = 1;
        }
    }
    return scan.ok ? result : reportFault(archive, scan);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    std::string command = argv[1];
    if (command == "create" && argc >= 4) return create(argv[2], argc - 3, argv + 3);
    if (command == "list" && argc == 3) return list(argv[2]);
    if (command == "extract" && argc == 4) return extract(argv[2], argv[3]);
    return usage();
}
