#include "data_layout.h"

#include "engine/archive.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    // Written beside and renamed over, so that an interrupted build never leaves half a file.
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "databuild: cannot write %s\n", temp.c_str());
            return false;
        }
    }
    std::error_code error;
    fs::rename(temp, path, error);
    if (error) std::fprintf(stderr, "databuild: cannot rename %s\n", temp.c_str());
    return !error;
}

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Regular files of a folder with the given extension, sorted by name so that the order never depends
// on the file system.
std::vector<fs::path> filesWithExtension(const fs::path& folder, const std::string& ext) {
    std::vector<fs::path> out;
    std::error_code error;
    if (!fs::is_directory(folder, error)) return out;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, error))
        if (e.is_regular_file() && e.path().extension() == ext) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

bool packArchive(const Catalogue& catalogue, Place place, const fs::path& path) {
    std::vector<ArchiveFile> files;
    for (const BuiltFile& f : catalogue.files)
        if (f.place == place) files.push_back({f.name, f.bytes});
    std::string error;
    if (!writeArchiveFile(path.string(), files, &error)) {
        std::fprintf(stderr, "databuild: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

// Replaces a folder's files of one kind by copies of the authored ones (stale copies are removed).
bool mirrorFolder(const fs::path& from, const fs::path& to, const std::string& ext) {
    std::error_code error;
    fs::create_directories(to, error);
    for (const fs::path& old : filesWithExtension(to, ext)) fs::remove(old, error);
    bool ok = true;
    for (const fs::path& f : filesWithExtension(from, ext))
        ok = writeFile(to / f.filename(), readFile(f)) && ok;
    return ok;
}

long long sizeOf(const fs::path& p) {
    std::error_code error;
    auto n = fs::file_size(p, error);
    return error ? 0 : static_cast<long long>(n);
}

long long archiveContentBytes(const fs::path& path) {
    std::vector<uint8_t> bytes = readFile(path);
    long long total = 0;
    scanArchive(bytes.data(), bytes.size(), [&](const ArchiveEntry& e) { total += e.size; });
    return total;
}

} // namespace

bool writeDataFolder(const Catalogue& catalogue, const std::string& sourceData, const std::string& outData) {
    fs::path out(outData), source(sourceData);
    std::error_code error;
    fs::create_directories(out / "animbacks", error);
    if (!fs::is_directory(out / "animbacks")) {
        std::fprintf(stderr, "databuild: cannot create %s\n", (out / "animbacks").c_str());
        return false;
    }
    bool ok = true;
    for (const BuiltFile& f : catalogue.files) {
        if (f.place == Place::DataFolder) ok = writeFile(out / f.name, f.bytes) && ok;
        if (f.place == Place::Animbacks) ok = writeFile(out / "animbacks" / f.name, f.bytes) && ok;
    }
    ok = packArchive(catalogue, Place::TargaArchive, out / "targa.dat") && ok;
    ok = packArchive(catalogue, Place::JpegArchive, out / "jpeg.dat") && ok;
    // The text tables, the menu, the scenery types and the default records: every text file at the top
    // of the authored data.
    std::vector<ArchiveFile> texts;
    for (const fs::path& f : filesWithExtension(source, ".txt"))
        texts.push_back({f.filename().string(), readFile(f)});
    if (texts.empty()) {
        std::fprintf(stderr, "databuild: no text files in %s\n", source.c_str());
        ok = false;
    }
    std::string message;
    if (!writeArchiveFile((out / "texts.dat").string(), texts, &message)) {
        std::fprintf(stderr, "databuild: texts.dat: %s\n", message.c_str());
        ok = false;
    }
    ok = mirrorFolder(source / "levels", out / "levels", ".lvl") && ok;
    ok = mirrorFolder(source / "effects", out / "effects", ".par") && ok;
    return ok;
}

long long loadingTotal(const std::string& outData) {
    fs::path out(outData);
    long long total = 0;
    for (const char* archive : {"targa.dat", "jpeg.dat", "texts.dat"})
        total += archiveContentBytes(out / archive);
    for (const char* dir : {"levels", "effects", "Sounds", "animbacks"})
        for (const char* ext : {".lvl", ".par", ".ogg", ".lev"})
            for (const fs::path& f : filesWithExtension(out / dir, ext)) total += sizeOf(f);
    // The scenery's mesh objects (the menus' ornament) lie in the data folder and are read with it.
    for (const char* ext : {".cgo", ".msh_s"})
        for (const fs::path& f : filesWithExtension(out, ext)) total += sizeOf(f);
    // The menus' landscape, the music and the map's path are read during the start-up (a stage's
    // landscape waits for its first level); the splash pictures are read (and counted) before it.
    for (const char* name : {"animbacks/_a_back0.jpg", "music.mo3", "trajectory1.spl", "splash1.jpg",
                             "splash2.jpg", "loadscreen.jpg", "loadbar.jpg"})
        total += sizeOf(out / name);
    return total;
}

bool writeLoadingTotal(const std::string& outData) {
    std::string line = std::to_string(loadingTotal(outData)) + "\n";
    return writeFile(fs::path(outData) / kLoadTotalFile, std::vector<uint8_t>(line.begin(), line.end()));
}
