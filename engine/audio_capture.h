// The capturing audio backend: instead of a sound device it records every command the game sends to the
// mixer (what was started, at which rate and volume, music positions and volumes) and renders the mix
// offline on request, for tests and for listening to a run.
#pragma once

#include <string>
#include <vector>

#include "engine/audio_mixer.h"

struct AudioCapture {
    std::vector<MixerCommand> commands; // every command sent to the mixer, in order
    std::vector<float> mix;             // interleaved stereo frames rendered so far
};

extern AudioCapture audioCapture;

void resetAudioCapture();                             // forgets commands and mix
void recordMixerCommand(const MixerCommand& command); // called for each command while capturing
int renderCapturedAudio(int frames); // pulls frames from the mixer like the device would; 0 while paused
bool writeWav(const std::string& path, const std::vector<float>& interleaved); // 16-bit stereo 44100 Hz
