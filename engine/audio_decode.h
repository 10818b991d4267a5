// Decoding of OGG Vorbis sounds to 16-bit PCM, once, when the sounds are loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PcmSound {
    std::vector<int16_t> samples; // interleaved frames of `channels` values
    int channels = 0;             // 1 (mono) or 2 (stereo); anything else is mixed down at decode
    int rate = 0;                 // the file's own rate; playback uses the rate a sound is started with

    int frameCount() const { return channels > 0 ? int(samples.size()) / channels : 0; }
};

bool decodeOgg(const uint8_t* data, size_t size, PcmSound& out); // false (out empty) for anything unreadable
