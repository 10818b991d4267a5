// Loading the particle sheet and every effect file of the data folder.
#include <algorithm>
#include <filesystem>
#include <string>
#include <strings.h>
#include <vector>

#include "engine/file_registry.h"
#include "engine/keyed_reader.h"
#include "engine/texture.h"
#include "platform/folders.h"
#include "visuals/particle_effects.h"

void loadEffects() {
    particleSystem.defs.clear();
    particleSystem.sheet = getTexture("particles.tga", true);
    std::filesystem::path folder = std::filesystem::path(dataFolder()) / "effects";
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string file = entry.path().filename().string();
        if (file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".par") == 0) files.push_back(file);
    }
    std::sort(files.begin(), files.end()); // a stable order on every file system
    for (const auto& file : files) {
        std::string relative = "effects/" + file;
        int size = 0;
        uint8_t* data = openFile(relative.c_str(), &size, false);
        if (!data) continue;
        std::string name = file.substr(0, file.size() - 4);
        addEffectDefinition(name.c_str(), keyedText(data, size));
        releaseFile(data);
    }
    clearEffects();
}
