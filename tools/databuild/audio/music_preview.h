// Playing the built module back through libopenmpt: section previews and loop checks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

struct SectionRender {
    std::vector<float> stereo; // interleaved left/right at 44100 Hz
    double loopSeconds = 0;    // time until playback first jumped back, 0 if it never did
    bool stayedInside = true;  // every order played lay within the section
    int loopTarget = -1;       // the order playback jumped back to
};

// Plays the module from the section's first order until it has looped once, plus `tailSeconds`.
// `firstOrder`/`orderCount` bound the section. Returns false if libopenmpt cannot load the bytes.
bool renderSection(const std::vector<uint8_t>& moduleBytes, int firstOrder, int orderCount,
                   double tailSeconds, double maxSeconds, SectionRender& out);

} // namespace music
