// Writing generated audio to disk: OGG Vorbis for the game's sounds, 16-bit WAV for the previews.
#pragma once

#include <string>
#include <vector>

namespace audiofiles {

// Float samples in [-1, 1] at 44100 Hz (interleaved when `channels` is 2) to an OGG Vorbis file (quality
// 0.5, fixed stream serial so two builds give identical bytes). Returns false and prints why on failure.
bool writeOggVorbis(const std::string& path, const std::vector<float>& samples, int channels);

// Interleaved float samples to a 16-bit PCM WAV file with `channels` channels at 44100 Hz.
bool writeWav(const std::string& path, const std::vector<float>& interleaved, int channels);

} // namespace audiofiles
