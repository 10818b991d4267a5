// The game's sound effects, each synthesised from a fixed seed into a mono 44100 Hz buffer.
#pragma once

#include <string>
#include <vector>

namespace soundeffects {

struct SoundEffect {
    std::string fileName;       // as the game plays it, e.g. "selectball.ogg"
    int channels = 1;           // 1, or 2 for the ambience
    std::vector<float> samples; // finished and normalised, interleaved when stereo
};

// Every sound the game plays by name, in a fixed order.
std::vector<SoundEffect> makeAllSounds();

} // namespace soundeffects
