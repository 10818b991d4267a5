#include "audio_build.h"

#include "audio_files.h"
#include "music_preview.h"
#include "music_score.h"
#include "sound_effects.h"
#include "synth.h"
#include "xm_writer.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "databuild: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (fclose(f) != 0) ok = false;
    if (!ok) fprintf(stderr, "databuild: writing %s failed\n", path.c_str());
    return ok;
}

double decibels(double v) {
    return v > 0 ? 20.0 * std::log10(v) : -120.0;
}

double rmsOf(const std::vector<float>& s) {
    double sum = 0;
    for (float v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

bool buildSounds(const std::string& soundDir, const std::string& previewDir) {
    bool ok = true;
    for (const soundeffects::SoundEffect& s : soundeffects::makeAllSounds()) {
        ok = audiofiles::writeOggVorbis(soundDir + "/" + s.fileName, s.samples, s.channels) && ok;
        std::string stem = s.fileName.substr(0, s.fileName.size() - 4);
        ok = audiofiles::writeWav(previewDir + "/sound_" + stem + ".wav", s.samples, s.channels) && ok;
    }
    return ok;
}

bool buildMusic(const std::string& dataDir, const std::string& previewDir) {
    std::vector<uint8_t> bytes = xm::writeModule(music::composeMusic());
    bool ok = writeBytes(dataDir + "/music.mo3", bytes);
    int index = 0;
    for (const music::MusicSection& section : music::kMusicSections) {
        music::SectionRender render;
        if (!music::renderSection(bytes, section.firstOrder, section.orderCount, 6.0, 240.0, render))
            return false;
        char name[64];
        snprintf(name, sizeof name, "/music_%d_%s.wav", index++, section.name);
        ok = audiofiles::writeWav(previewDir + name, render.stereo, 2) && ok;
        if (!render.stayedInside || render.loopSeconds == 0) {
            fprintf(stderr, "databuild: music section %s does not loop within itself\n", section.name);
            ok = false;
        }
        printf("databuild: music %-8s order %2d  loop %.1f s -> order %d  rms %.1f dBFS\n", section.name,
               section.firstOrder, render.loopSeconds, render.loopTarget, decibels(rmsOf(render.stereo)));
    }
    return ok;
}

} // namespace

bool buildAudio(const std::string& dataDir, const std::string& previewDir) {
    std::error_code error;
    std::string soundDir = dataDir + "/Sounds";
    std::filesystem::create_directories(soundDir, error);
    std::filesystem::create_directories(previewDir, error);
    if (!std::filesystem::is_directory(soundDir) || !std::filesystem::is_directory(previewDir)) {
        fprintf(stderr, "databuild: cannot create %s or %s\n", soundDir.c_str(), previewDir.c_str());
        return false;
    }
    bool soundsOk = buildSounds(soundDir, previewDir);
    bool musicOk = buildMusic(dataDir, previewDir);
    return soundsOk && musicOk;
}
