// The data builder: makes every picture, both fonts, the scenery and map files, packs the archives and
// lays out the game's Data folder. Usage: databuild SOURCE_DATA OUTPUT_DATA CONTACT_SHEET PREVIEW_DIR
#include "catalogue.h"
#include "contact_sheet.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: databuild SOURCE_DATA OUTPUT_DATA CONTACT_SHEET PREVIEW_DIR\n");
        return 2;
    }
    Catalogue catalogue;
    buildBoardPictures(catalogue);
    buildHudPictures(catalogue);
    buildMenuPictures(catalogue);
    if (!writeContactSheet(catalogue, argv[3])) {
        std::fprintf(stderr, "databuild: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
