// Sound effects played by file name and the music module with its sections.
//
// Everything here is called from the main thread. Samples are decoded once at load; a started sound
// waits in the voice ring until the next updateAudio hands it to the mixer. Without a sound device the
// calls keep their bookkeeping but nothing is heard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/audio_decode.h"
#include "engine/limits.h"
#include "platform/fixed_list.h"

struct openmpt_module;

struct SoundSample {
    char name[32] = {};      // file name as found in the Sounds folder, e.g. "menu.ogg"
    PcmSound pcm;            // decoded once at load
    bool valid = false;      // decoding succeeded; an invalid sample keeps its slot and plays nothing
    float cooldownMs = 0.0f; // time before this sample may start again; 5 ms after each start
};

struct Voice {
    int state = 0;        // -1 waits for the next updateAudio, 1 plays, 0 free
    uint32_t channel = 0; // mixer channel while playing; 0 when none
    int sample = -1;      // index into the samples
    int frequency = 0;    // playback rate in Hz; 44100 plays as recorded
};

struct AudioState {
    bool deviceOpen = false;                     // initAudio succeeded; otherwise every sound call is silent
    FixedList<SoundSample, kMaxSamples> samples; // in loading order; full: later files are ignored
    // A ring: the next start takes nextVoice, the newest overwrites the oldest. Slot i is the mixer's
    // voice i (its commands and ended channels name the slot), so the slots stay fixed, not a Ring.
    Voice voices[kMaxVoices];
    int nextVoice = 0;
    uint32_t nextChannel = 1; // channel handles are never reused; 0 means none

    openmpt_module* music = nullptr; // null when "music.mo3" is missing: music calls have no effect
    int wantedOrder = 0;             // order position the music should be playing
    int playingOrder = 0;            // order position the music was last started at
    float fadeMs = 0.0f;             // counts down during a section change; the switch happens at 0
    int musicChannelVolume = 100;    // the fade's volume, 0..100

    int musicVolume = 90; // the player's volumes, 0..100
    int soundVolume = 90;
    bool paused = false;
};

extern AudioState audio;

constexpr float kSoundCooldownMs = 5.0f; // a sample started this recently is not started again
constexpr float kMusicFadeMs = 800.0f;   // fade-out before the music jumps to another section
constexpr int kMusicAmplification = 80;  // module amplification (50 is neutral)
constexpr int kDefaultPlayRate = 44100;

// Opens the output at the player's volumes (0..100 each); false leaves the game silent.
bool initAudio(int musicVolume, int soundVolume);
void loadSounds();                       // every "*.ogg" of Sounds, then "music.mo3" of the data folder
int loadSample(const std::string& path); // decodes one file; its name is the part after the last '/'
int loadSampleFromPcm(const char* name, PcmSound pcm); // adds an already decoded sound (tests, tools)
void playSound(const char* name);                      // at 44100 Hz
void playSoundAt(const char* name, int frequency);     // frequency varies the pitch
void updateAudio();                                    // once per frame: cool-downs, starts, music fade
void stopAllSounds();
void setVolumes(int musicVolume, int soundVolume);       // 0..100 each
void pauseAudio();                                       // window deactivated
void resumeAudio();                                      // window activated
void requestMusicSection(int section);                   // fades over 800 ms, then restarts there
void startMusicSection(int section);                     // switches at once
int musicSectionOrder(int section);                      // order position of a section; 0 when unknown
bool loadMusicFromMemory(const void* data, size_t size); // replaces the module (tests load their own)
void shutdownAudio();                                    // stops the output, frees samples and music
void resetAudio();                                       // shutdownAudio and back to launch values (tests)
