// Everything the data builder makes, collected before it is packed or written: each file with the
// place the game reads it from, and for pictures the decoded picture shown on the contact sheet.
#pragma once

#include "image.h"

#include <cstdint>
#include <string>
#include <vector>

enum class Place {
    TargaArchive, // packed in "targa.dat"
    JpegArchive,  // packed in "jpeg.dat"
    TextArchive,  // packed in "texts.dat"
    DataFolder,   // a plain file in Data/ (read before the archives, or by binary streams)
    Animbacks,    // Data/animbacks/
    ReviewOnly,   // not written: a composed view for the contact sheet
};

struct BuiltFile {
    std::string name; // the file name the game asks for
    Place place;
    std::vector<uint8_t> bytes; // the file exactly as written
    Image preview;              // the picture as the game decodes it; empty for other files
};

struct Catalogue {
    std::vector<BuiltFile> files;

    void addTga(const std::string& name, const Image& img, Place place = Place::TargaArchive);
    void addJpeg(const std::string& name, const Image& img, Place place = Place::JpegArchive,
                 int quality = 92);
    void addAlphaJpeg(const std::string& name, const Image& img, Place place = Place::JpegArchive);
    void addFile(const std::string& name, Place place, std::vector<uint8_t> bytes);
    void addReview(const std::string& name, const Image& view);
    const BuiltFile* find(const std::string& name) const;
};

extern const Rgba kBallBodies[8]; // the eight ball colours, shared by every picture that shows balls

// Appends raw bytes (little-endian values on our machines) to a file being built.
void appendRaw(std::vector<uint8_t>& out, const void* data, size_t size);

// The parts of the builder; each adds its files to the catalogue.
void buildBoardPictures(Catalogue& out);  // balls, bonus pieces, squares, chain, shadow
void buildHudPictures(Catalogue& out);    // right panel, hammer bar, progress bar, help button, glows
void buildMenuPictures(Catalogue& out);   // menu atlas, balloon, button, fills, cursors, icon
void buildParticleSheet(Catalogue& out);  // "particles.tga"
void buildScenery(Catalogue& out);        // backgrounds, scenery objects, scene files
void buildLevelMap(Catalogue& out);       // map picture, path file, marks, artefacts
void buildSplashPictures(Catalogue& out); // splash, load screen, load bar
bool buildFonts(Catalogue& out);          // "font" and "font2"
