// Lays out the game's Data folder: the three archives, the plain files, the folders copied from the
// authored data, and the loading-bar total computed from what was built.
#pragma once

#include "catalogue.h"

#include <string>

constexpr const char* kLoadTotalFile = "loadtotal.txt"; // bytes the start-up registers, one decimal line

bool writeDataFolder(const Catalogue& catalogue, const std::string& sourceData, const std::string& outData);
// Sum of the bytes the start-up sequence registers with this Data folder (archive contents, levels,
// effects, sounds, music, scene files, the first backgrounds and the splash pictures).
long long loadingTotal(const std::string& outData);
bool writeLoadingTotal(const std::string& outData);
