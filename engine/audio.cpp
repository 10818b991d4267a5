#include "engine/audio.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/app_state.h"
#include "engine/audio_capture.h"
#include "engine/audio_mixer.h"
#include "engine/file_registry.h"
#include "platform/audio_output.h"
#include "platform/folders.h"

AudioState audio;

namespace {

// Section number -> order position of the module; any other number plays from the start.
constexpr int kSectionOrders[][2] = {{1, 11}, {2, 29}, {3, 47}, {4, 63}, {5, 65}, {6, 44}};

void send(const MixerCommand& command) {
    if (!audio.deviceOpen) return;
    if (audioOutputKind() == AudioOutputKind::Capture) recordMixerCommand(command);
    pushMixerCommand(command);
}

void sendVolumes() {
    MixerCommand c;
    c.kind = MixerCommandKind::SetVolumes;
    c.musicVolume = audio.musicVolume;
    c.soundVolume = audio.soundVolume;
    send(c);
}

void setMusicChannelVolume(int volume) {
    audio.musicChannelVolume = volume;
    if (!audio.music) return;
    MixerCommand c;
    c.kind = MixerCommandKind::MusicVolume;
    c.musicVolume = volume;
    send(c);
}

// Restart at full volume at the wanted order position, as the end of a fade or an immediate switch.
void playWantedOrder() {
    setMusicChannelVolume(100);
    audio.playingOrder = audio.wantedOrder;
    if (!audio.music) return;
    MixerCommand c;
    c.kind = MixerCommandKind::MusicPlay;
    c.order = audio.wantedOrder;
    send(c);
}

void freeMusic() {
    if (!audio.music) return;
    lockAudioOutput();
    setMixerMusic(nullptr);
    unlockAudioOutput();
    openmpt_module_destroy(audio.music);
    audio.music = nullptr;
}

bool endsWithOgg(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& ch : tail) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return tail == ".ogg";
}

// Sounds are files on disk, not registered files, so the loader reports them to the loading bar itself.
void reportLoaded(size_t bytes) {
    if (fileRegistry.onFileRegistered) fileRegistry.onFileRegistered(int(bytes));
}

} // namespace

bool initAudio(int musicVolume, int soundVolume) {
    // The player's volumes hold from the first sound on, whether or not the device opens.
    audio.musicVolume = std::clamp(musicVolume, 0, 100);
    audio.soundVolume = std::clamp(soundVolume, 0, 100);
    closeAudioOutput();
    resetMixer();
    audio.deviceOpen = false;
    for (auto& v : audio.voices) v = Voice{};
    audio.nextVoice = 0;
    if (!openAudioOutput(kMixRate, mixAudio)) return false;
    audio.deviceOpen = true;
    if (audio.music) setMixerMusic(audio.music); // the output was closed, no lock needed
    sendVolumes();
    return true;
}

int loadSampleFromPcm(const char* name, PcmSound pcm) {
    SoundSample* slot = audio.samples.add();
    if (!slot) return -1; // later files are ignored
    SoundSample& s = *slot;
    s = SoundSample{};
    std::snprintf(s.name, sizeof s.name, "%s", name);
    s.valid = pcm.frameCount() > 0 && (pcm.channels == 1 || pcm.channels == 2);
    s.pcm = std::move(pcm);
    return audio.samples.size() - 1;
}

int loadSample(const std::string& path) {
    if (audio.samples.full()) return -1;
    std::vector<uint8_t> bytes;
    PcmSound pcm;
    if (readWholeFile(path, bytes)) decodeOgg(bytes.data(), bytes.size(), pcm);
    std::string name = std::filesystem::path(path).filename().string();
    return loadSampleFromPcm(name.c_str(), std::move(pcm));
}

void loadSounds() {
    std::filesystem::path folder = std::filesystem::path(dataFolder()) / "Sounds";
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && endsWithOgg(entry.path().filename().string()))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end()); // a stable order on every file system
    for (const auto& file : files) {
        loadSample(file.string());
        reportLoaded(size_t(std::filesystem::file_size(file, error)));
    }

    std::vector<uint8_t> module;
    if (readWholeFile((std::filesystem::path(dataFolder()) / "music.mo3").string(), module)) {
        loadMusicFromMemory(module.data(), module.size());
        reportLoaded(module.size());
    }
}

bool loadMusicFromMemory(const void* data, size_t size) {
    freeMusic();
    int error = 0;
    openmpt_module* module =
        openmpt_module_create_from_memory2(data, size, openmpt_log_func_silent, nullptr,
                                           openmpt_error_func_ignore, nullptr, &error, nullptr, nullptr);
    if (!module) return false;
    openmpt_module_set_repeat_count(module, -1); // the song loops for ever
    audio.music = module;
    lockAudioOutput();
    setMixerMusic(module);
    unlockAudioOutput();
    return true;
}

void playSound(const char* name) {
    playSoundAt(name, kDefaultPlayRate);
}

void playSoundAt(const char* name, int frequency) {
    if (!name) return;
    for (int i = 0; i < audio.samples.size(); ++i) {
        SoundSample& s = audio.samples[i];
        if (std::strcmp(s.name, name) != 0) continue;
        if (s.cooldownMs > 0.0f) continue;
        s.cooldownMs = kSoundCooldownMs;
        Voice& v = audio.voices[audio.nextVoice];
        v.state = -1;
        v.sample = i;
        v.frequency = frequency;
        audio.nextVoice = (audio.nextVoice + 1) % kMaxVoices;
    }
}

void updateAudio() {
    for (SoundSample& s : audio.samples) {
        if (s.cooldownMs > 0.0f) s.cooldownMs -= app.frameTimeMs;
    }
    for (int i = 0; i < kMaxVoices; ++i) {
        Voice& v = audio.voices[i];
        if (v.state != -1) continue;
        v.channel = 0;
        const SoundSample* s =
            v.sample >= 0 && v.sample < audio.samples.size() ? &audio.samples[v.sample] : nullptr;
        if (audio.deviceOpen && s && s->valid && v.frequency > 0) {
            MixerCommand c;
            c.kind = MixerCommandKind::StartVoice;
            c.voice = i;
            c.sample = v.sample;
            c.channel = audio.nextChannel++;
            if (audio.nextChannel == 0) audio.nextChannel = 1;
            c.pcm = s->pcm.samples.data();
            c.frames = s->pcm.frameCount();
            c.channels = s->pcm.channels;
            c.rate = v.frequency;
            c.volume = 1.0f; // the sample's default volume; the player's volume is applied in the mixer
            send(c);
            v.channel = c.channel;
        }
        v.state = 1;
    }
    for (int i = 0; i < kMaxVoices; ++i) {
        Voice& v = audio.voices[i];
        if (v.state == 1) v.state = mixerChannelActive(i, v.channel) ? 1 : 0;
    }
    if (audio.fadeMs > 0.0f) {
        audio.fadeMs -= app.frameTimeMs;
        if (audio.fadeMs <= 0.0f)
            playWantedOrder();
        else
            setMusicChannelVolume(int(audio.fadeMs / 8.0f));
    }
}

void stopAllSounds() {
    MixerCommand c;
    c.kind = MixerCommandKind::StopVoices;
    send(c);
}

void setVolumes(int musicVolume, int soundVolume) {
    audio.musicVolume = std::clamp(musicVolume, 0, 100);
    audio.soundVolume = std::clamp(soundVolume, 0, 100);
    sendVolumes();
}

void pauseAudio() {
    audio.paused = true;
    if (audio.deviceOpen) pauseAudioOutput(true);
}

void resumeAudio() {
    audio.paused = false;
    if (audio.deviceOpen) pauseAudioOutput(false);
}

int musicSectionOrder(int section) {
    for (const auto& entry : kSectionOrders) {
        if (entry[0] == section) return entry[1];
    }
    return 0;
}

void requestMusicSection(int section) {
    int order = musicSectionOrder(section);
    if (order == audio.wantedOrder) return;
    audio.wantedOrder = order;
    audio.fadeMs = kMusicFadeMs;
}

void startMusicSection(int section) {
    if (musicSectionOrder(section) == audio.wantedOrder) return;
    requestMusicSection(section);
    playWantedOrder();
    audio.fadeMs = 0.0f;
}

void shutdownAudio() {
    closeAudioOutput(); // the audio thread has stopped: samples and music can go
    setMixerMusic(nullptr);
    if (audio.music) openmpt_module_destroy(audio.music);
    audio.music = nullptr;
    for (SoundSample& s : audio.samples) s = SoundSample{};
    audio.samples.clear();
    audio.deviceOpen = false;
}

void resetAudio() {
    shutdownAudio();
    resetMixer();
    for (auto& v : audio.voices) v = Voice{};
    audio.nextVoice = 0;
    audio.nextChannel = 1;
    audio.wantedOrder = 0;
    audio.playingOrder = 0;
    audio.fadeMs = 0.0f;
    audio.musicChannelVolume = 100;
    audio.musicVolume = 90;
    audio.soundVolume = 90;
    audio.paused = false;
}
