// Comfort options beside the settings: the small file "comfort" in the per-user config folder, so that
// the 48-byte settings keep their layout. Four little-endian bytes of flags; bit 0 is "reduce flashes
// and shaking": the additive glows of the effects are drawn at half their light and the board does not
// shake. A missing or damaged file means every option off.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kComfortBytes = 4;
constexpr float kReducedGlow = 0.5f; // the glows' light while flashes are reduced

struct Comfort {
    bool reduceFlashes = false; // the options page's check box
};

extern Comfort comfort;

// The stored form. comfortFromBytes turns every option off and gives false unless size is exactly 4.
void comfortToBytes(const Comfort& c, uint8_t out[kComfortBytes]);
bool comfortFromBytes(const uint8_t* data, size_t size, Comfort& c);
void readComfort(); // at launch, with the settings
void saveComfort(); // with the settings; written beside the old file and renamed over it
