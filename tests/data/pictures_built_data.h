// Reading the built Data folder in tests: the folder itself, its archives and decoded pictures.
#pragma once

#include "engine/archive.h"
#include "engine/texture_decode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace builtdata {

namespace fs = std::filesystem;

// The data builder lays out Data beside the executables of the build; a sanitizer build without the
// tools reads the main build's.
inline fs::path folder() {
    std::error_code error;
    fs::path beside = fs::read_symlink("/proc/self/exe", error).parent_path() / "Data";
    if (!error && fs::exists(beside / "loadtotal.txt")) return beside;
    fs::path main = fs::path(PC_SOURCE_DIR) / "build" / "Data";
    if (fs::exists(main / "loadtotal.txt")) return main;
    return {};
}

inline std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file of the three archives by stored name, unscrambled.
inline std::map<std::string, std::vector<uint8_t>> archiveFiles(const fs::path& data) {
    std::map<std::string, std::vector<uint8_t>> out;
    for (const char* name : {"targa.dat", "jpeg.dat", "texts.dat"}) {
        std::vector<uint8_t> bytes = readFile(data / name);
        std::vector<ArchiveFile> files;
        ArchiveScan scan;
        EXPECT_TRUE(readArchiveFiles(bytes.data(), bytes.size(), files, &scan)) << name << " is malformed";
        for (ArchiveFile& f : files) out.emplace(f.name, std::move(f.bytes));
    }
    return out;
}

// Decodes with the game's own decoder; a JPEG followed by an alpha plane gets that plane as alpha.
inline bool decode(const std::vector<uint8_t>& bytes, DecodedPicture& out) {
    if (!decodePicture(bytes.data(), int(bytes.size()), out)) return false;
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return true;
    for (size_t i = 0; i + 1 < bytes.size(); i++)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) {
            size_t rest = bytes.size() - (i + 2);
            if (rest == size_t(out.width) * out.height)
                for (size_t p = 0; p < rest; p++) out.rgba[p * 4 + 3] = bytes[i + 2 + p];
            break;
        }
    return true;
}

} // namespace builtdata

#define REQUIRE_BUILT_PICTURES(dir)                                                                          \
    const std::filesystem::path dir = builtdata::folder();                                                   \
    if (dir.empty()) GTEST_SKIP() << "no built Data folder (run the data builder: make build)";
