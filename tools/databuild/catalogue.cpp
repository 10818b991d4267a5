#include "catalogue.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static void checkDecodes(const BuiltFile& f) {
    if (f.preview.width == 0) {
        std::fprintf(stderr, "databuild: %s does not decode\n", f.name.c_str());
        std::exit(1);
    }
}

void Catalogue::addTga(const std::string& name, const Image& img, Place place) {
    BuiltFile f{name, place, encodeTga(img), {}};
    f.preview = decodePicture(f.bytes);
    checkDecodes(f);
    files.push_back(std::move(f));
}

void Catalogue::addJpeg(const std::string& name, const Image& img, Place place, int quality) {
    BuiltFile f{name, place, encodeJpeg(img, quality), {}};
    f.preview = decodePicture(f.bytes);
    checkDecodes(f);
    files.push_back(std::move(f));
}

void Catalogue::addAlphaJpeg(const std::string& name, const Image& img, Place place) {
    BuiltFile f{name, place, encodeAlphaJpeg(img, 92), {}};
    // The game cuts the file at the first end-of-image marker; the alpha plane must follow it exactly.
    size_t end = firstEndOfImage(f.bytes);
    if (end == 0 || f.bytes.size() - end != size_t(img.width) * img.height) {
        std::fprintf(stderr, "databuild: %s: the first end-of-image marker is not the end of its JPEG\n",
                     name.c_str());
        std::exit(1);
    }
    f.preview = decodePicture(f.bytes);
    checkDecodes(f);
    files.push_back(std::move(f));
}

void Catalogue::addFile(const std::string& name, Place place, std::vector<uint8_t> bytes) {
    files.push_back(BuiltFile{name, place, std::move(bytes), {}});
}

const BuiltFile* Catalogue::find(const std::string& name) const {
    for (const BuiltFile& f : files)
        if (f.name == name) return &f;
    return nullptr;
}

void Catalogue::addReview(const std::string& name, const Image& view) {
    files.push_back(BuiltFile{name, Place::ReviewOnly, {}, view});
}

void appendRaw(std::vector<uint8_t>& out, const void* data, size_t size) {
    size_t at = out.size();
    out.resize(at + size);
    std::memcpy(out.data() + at, data, size);
}
