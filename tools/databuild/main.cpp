// The data builder: makes every picture, both fonts, every sound and the music, the scenery and map
// files, packs the archives and lays out the game's Data folder.
// Usage: databuild SOURCE_DATA OUTPUT_DATA CONTACT_SHEET PREVIEW_DIR, or databuild --icons FOLDER for the
// desktop's icons.
#include "audio/audio_build.h"
#include "catalogue.h"
#include "contact_sheet.h"
#include "data_layout.h"
#include "icons.h"
#include "mesh/mesh_build.h"
#include "review_screens.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") return writeDesktopIcons(argv[2]) ? 0 : 1;
    if (argc != 5) {
        std::fprintf(stderr, "usage: databuild SOURCE_DATA OUTPUT_DATA CONTACT_SHEET PREVIEW_DIR\n");
        return 2;
    }
    const std::string sourceData = argv[1], outData = argv[2], contactSheet = argv[3], previewDir = argv[4];
    Catalogue catalogue;
    buildBoardPictures(catalogue);
    buildHudPictures(catalogue);
    buildMenuPictures(catalogue);
    buildParticleSheet(catalogue);
    if (!buildFonts(catalogue)) return 1;
    buildScenery(catalogue);
    buildMeshes(catalogue); // mesh objects: their own generator under mesh/
    buildLevelMap(catalogue);
    buildSplashPictures(catalogue);
    catalogue.addReview("mock game screen", mockGameScreen(catalogue));
    catalogue.addReview("mock menu page", mockMenuScreen(catalogue));
    if (!writeDataFolder(catalogue, sourceData, outData)) return 1;
    if (!buildAudio(outData, previewDir)) return 1;
    if (!writeContactSheet(catalogue, contactSheet)) {
        std::fprintf(stderr, "databuild: cannot write %s\n", contactSheet.c_str());
        return 1;
    }
    // For review: DATABUILD_DUMP=folder writes every picture as PNG there.
    if (const char* dump = std::getenv("DATABUILD_DUMP")) {
        for (const BuiltFile& f : catalogue.files) {
            if (f.preview.width == 0) continue;
            std::vector<uint8_t> png = encodePng(f.preview);
            std::ofstream(std::string(dump) + "/" + f.name + ".png", std::ios::binary)
                .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        }
    }
    // Written last: the build takes this file as the sign that the Data folder is complete.
    if (!writeLoadingTotal(outData)) return 1;
    return 0;
}
