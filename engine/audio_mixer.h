// The mixer: runs on the audio thread, pulled by the output (the sound device, or the capturing
// backend in tests). The main thread talks to it only through a lock-free command ring and reads back
// which channels have finished; the mixer never allocates and never waits on the main thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/limits.h"
#include "platform/ring.h"

struct openmpt_module;

constexpr int kMixRate = 44100;       // output rate of the device, frames per second
constexpr int kMixChunkFrames = 256;  // frames mixed in one pass of the inner loop
constexpr int kLimiterLookAhead = 64; // frames (1.5 ms) the limiter looks ahead to turn down smoothly
constexpr int kMixerCommandCapacity = 1024;
constexpr int kMixerTails = 32;       // voices cut off by a newer one that still fade out
constexpr int kVoiceFadeFrames = 128; // a stopped or replaced sound fades out over 3 ms // pending commands;
                                      // a full ring drops the newest command

enum class MixerCommandKind : uint8_t {
    StartVoice,  // play pcm on `voice` as `channel` at `rate` and `volume`, replacing what plays there
    StopVoices,  // every voice stops at once
    SetVolumes,  // global music and sound volumes, 0..100
    MusicPlay,   // restart the module at order position `order`, row 0
    MusicVolume, // the music channel's own volume, 0..100 (the fade)
};

struct MixerCommand {
    MixerCommandKind kind = MixerCommandKind::StopVoices;
    int voice = 0;                // StartVoice: slot 0..kMaxVoices-1
    int sample = -1;              // StartVoice: index of the loaded sample (for the capture log)
    uint32_t channel = 0;         // StartVoice: handle the main thread uses to ask whether it still plays
    const int16_t* pcm = nullptr; // StartVoice: interleaved 16-bit frames, alive for the whole run
    int frames = 0;               // StartVoice: frame count of pcm
    int channels = 0;             // StartVoice: 1 or 2
    int rate = 0;                 // StartVoice: playback rate in Hz (pitch); 44100 plays as recorded
    float volume = 1.0f;          // StartVoice: 0..1
    int order = 0;                // MusicPlay
    int musicVolume = 0;          // SetVolumes, MusicVolume: 0..100
    int soundVolume = 0;          // SetVolumes: 0..100
};

struct MixerVoice {
    const int16_t* pcm = nullptr;
    uint32_t frames = 0;
    int channels = 0;
    uint64_t position = 0; // 32.32 fixed point, in source frames
    uint64_t step = 0;     // 32.32 source frames per output frame: rate / 44100
    float gain = 0.0f;
    float fade = 1.0f;     // 1 while playing; falls to 0 after a stop so the sound never ends in a click
    float fadeStep = 0.0f; // per frame; negative while fading out
    uint32_t channel = 0;
    bool active = false;
};

struct Mixer {
    // Main thread writes `commandHead`, the audio thread `commandTail`; each slot is owned by one side.
    // Shared by two threads through the two atomic indices, so not a Ring (whose count one side would own).
    MixerCommand commands[kMixerCommandCapacity];
    std::atomic<uint32_t> commandHead{0};
    std::atomic<uint32_t> commandTail{0};
    std::atomic<uint32_t> droppedCommands{0};

    // Per voice slot: the last channel that ended there (finished, replaced or stopped).
    std::atomic<uint32_t> endedChannel[kMaxVoices];
    std::atomic<uint64_t> framesMixed{0}; // output frames produced so far
    std::atomic<int> activeVoices{0};     // voices playing after the last pass (diagnostics, tests)

    // Audio-thread state.
    MixerVoice voices[kMaxVoices];
    // Replaced voices finishing their fade-out; the newest overwrites the oldest.
    Ring<MixerVoice, kMixerTails> tails;
    openmpt_module* music = nullptr; // set while the output is stopped or locked
    bool musicPlaying = false;
    int pendingOrder = -1;    // order position to jump to once the current chunk has faded out; -1: none
    float musicTarget = 0.0f; // channel volume x global music volume x amplification, as a gain
    float musicGain = 0.0f;   // ramped towards musicTarget across a chunk so that changes never click
    float soundTarget = 0.9f; // global sound volume as a gain
    float soundGain = 0.9f;
    int musicChannelVolume = 100; // 0..100, the fade
    int musicVolume = 90;         // 0..100, the player's music volume
    int soundVolume = 90;         // 0..100, the player's sound volume
    float limiterGain = 1.0f;
    float limiterDelay[kLimiterLookAhead * 2] = {}; // the frames the limiter sees before they play
    float limiterNeed[kLimiterLookAhead] = {};      // the gain each of them needs to stay below the ceiling
    int limiterPos = 0;
    float mixBuffer[kMixChunkFrames * 2] = {};
    float musicBuffer[kMixChunkFrames * 2] = {};
};

extern Mixer mixer;

constexpr float kMusicAmplify = 80.0f / 50.0f; // the module plays at amplification 80 of a neutral 50

void resetMixer();                                    // silent, empty, no music; only while no output runs
bool pushMixerCommand(const MixerCommand& command);   // main thread; false when the ring is full (dropped)
bool mixerChannelActive(int voice, uint32_t channel); // main thread: the channel has not ended yet
void setMixerMusic(openmpt_module* module);           // while the output is stopped or locked
void mixAudio(float* out, int frames);                // audio thread: interleaved stereo floats
float softLimit(float x); // smooth ceiling below 1 for what the limiter lets through
