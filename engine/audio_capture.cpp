#include "engine/audio_capture.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/audio_output.h"

AudioCapture audioCapture;

void resetAudioCapture() {
    audioCapture.commands.clear();
    audioCapture.mix.clear();
}

void recordMixerCommand(const MixerCommand& command) {
    audioCapture.commands.push_back(command);
}

int renderCapturedAudio(int frames) {
    if (audioOutputKind() != AudioOutputKind::Capture || audioOutputPaused() || frames <= 0) return 0;
    size_t start = audioCapture.mix.size();
    audioCapture.mix.resize(start + size_t(frames) * 2);
    mixAudio(audioCapture.mix.data() + start, frames);
    return frames;
}

namespace {

void put16(FILE* f, uint16_t v) {
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    fwrite(b, 1, 2, f);
}

void put32(FILE* f, uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    fwrite(b, 1, 4, f);
}

} // namespace

bool writeWav(const std::string& path, const std::vector<float>& interleaved) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t dataBytes = uint32_t(interleaved.size() * 2);
    fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 2);
    put32(f, kMixRate);
    put32(f, kMixRate * 4);
    put16(f, 4);
    put16(f, 16);
    fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    for (float v : interleaved) put16(f, uint16_t(int16_t(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
    return fclose(f) == 0;
}
