// The data builder: makes every picture, both fonts, the scenery and map files, packs the archives and
// lays out the game's Data folder. Usage: databuild SOURCE_DATA OUTPUT_DATA CONTACT_SHEET PREVIEW_DIR
#include "catalogue.h"
#include "contact_sheet.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: databuild SOURCE_DATA OUTPUT_DATA CONTACT_SHEET PREVIEW_DIR\n");
        return 2;
    }
    Catalogue catalogue;
    buildBoardPictures(catalogue);
    buildHudPictures(catalogue);
    buildMenuPictures(catalogue);
    buildParticleSheet(catalogue);
    if (!buildFonts(catalogue)) return 1;
    buildScenery(catalogue);
    buildLevelMap(catalogue);
    buildSplashPictures(catalogue);
    // For review: DATABUILD_DUMP=folder writes every picture as PNG there.
    if (const char* dump = std::getenv("DATABUILD_DUMP")) {
        for (const BuiltFile& f : catalogue.files) {
            if (f.preview.width == 0) continue;
            std::vector<uint8_t> png = encodePng(f.preview);
            std::ofstream(std::string(dump) + "/" + f.name + ".png", std::ios::binary)
                .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        }
    }
    if (!writeContactSheet(catalogue, argv[3])) {
        std::fprintf(stderr, "databuild: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
