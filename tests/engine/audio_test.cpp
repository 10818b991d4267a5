#include "engine/audio.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/app_state.h"
#include "engine/audio_capture.h"
#include "engine/audio_mixer.h"
#include "engine/file_registry.h"
#include "platform/audio_output.h"
#include "platform/folders.h"

namespace {

// A sound of constant level: its length in the mix is easy to see.
PcmSound constantSound(int frames, int16_t level) {
    PcmSound pcm;
    pcm.channels = 1;
    pcm.rate = 44100;
    pcm.samples.assign(size_t(frames), level);
    return pcm;
}

// A small XM module: `orders` order positions, all playing one empty 64-row pattern.
std::vector<uint8_t> tinyModule(int orders) {
    std::vector<uint8_t> m;
    auto text = [&](const char* s, size_t n) {
        for (size_t i = 0; i < n; ++i) m.push_back(i < strlen(s) ? uint8_t(s[i]) : 0);
    };
    auto u16 = [&](int v) { m.push_back(uint8_t(v)), m.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(int(v & 0xffff)), u16(int(v >> 16)); };
    text("Extended Module: ", 17);
    text("test", 20);
    m.push_back(0x1a);
    text("pebblecraft", 20);
    u16(0x0104);
    u32(276);
    u16(orders);
    u16(0);   // restart position
    u16(2);   // channels
    u16(1);   // patterns
    u16(0);   // instruments
    u16(1);   // linear frequency table
    u16(6);   // speed
    u16(125); // tempo
    for (int i = 0; i < 256; ++i) m.push_back(0);
    u32(9); // pattern header length
    m.push_back(0);
    u16(64);
    u16(0); // no packed data: every row empty
    return m;
}

// Encodes a 440 Hz tone as OGG Vorbis, as the data builder does.
std::vector<uint8_t> encodeTone(int frames) {
    vorbis_info info;
    vorbis_info_init(&info);
    EXPECT_EQ(vorbis_encode_init_vbr(&info, 1, 44100, 0.3f), 0);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    std::vector<uint8_t> out;
    ogg_page page;
    ogg_packet p0, p1, p2;
    vorbis_analysis_headerout(&dsp, &comment, &p0, &p1, &p2);
    ogg_stream_packetin(&stream, &p0);
    ogg_stream_packetin(&stream, &p1);
    ogg_stream_packetin(&stream, &p2);
    auto take = [&](const ogg_page& pg) {
        out.insert(out.end(), pg.header, pg.header + pg.header_len);
        out.insert(out.end(), pg.body, pg.body + pg.body_len);
    };
    while (ogg_stream_flush(&stream, &page)) take(page);
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i) buffer[0][i] = 0.5f * std::sin(2 * 3.14159265f * 440 * i / 44100.0f);
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page)) take(page);
        }
    }
    while (ogg_stream_flush(&stream, &page)) take(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<MixerCommand> commandsOf(MixerCommandKind kind) {
    std::vector<MixerCommand> found;
    for (const auto& c : audioCapture.commands)
        if (c.kind == kind) found.push_back(c);
    return found;
}

// Frames of the mix (left channel) from the first to the last one that is not silent.
int audibleFrames() {
    int first = -1, last = -1;
    for (size_t i = 0; i < audioCapture.mix.size(); i += 2) {
        if (std::fabs(audioCapture.mix[i]) <= 1e-6f) continue;
        if (first < 0) first = int(i / 2);
        last = int(i / 2);
    }
    return first < 0 ? 0 : last - first + 1;
}

class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAppState();
        resetAudio();
        chooseAudioCapture(true);
        ASSERT_TRUE(initAudio(90, 90));
        resetAudioCapture();
        app.frameTimeMs = 1.0f;
    }
    void TearDown() override {
        resetAudio();
        resetAudioCapture();
        chooseAudioCapture(false);
    }
    void frame(float ms) {
        app.frameTimeMs = ms;
        updateAudio();
    }
};

} // namespace

TEST_F(AudioTest, SampleAskedTwiceWithinCooldownStartsOnce) {
    loadSampleFromPcm("ding.ogg", constantSound(100, 1000));
    playSound("ding.ogg");
    playSound("ding.ogg");
    playSound("unknown.ogg");
    EXPECT_EQ(audio.voices[0].state, -1);
    EXPECT_EQ(audio.voices[1].state, 0);
    frame(3);
    ASSERT_EQ(commandsOf(MixerCommandKind::StartVoice).size(), 1u);
    playSound("ding.ogg"); // 3 ms after the start: still cooling down
    frame(3);
    EXPECT_EQ(commandsOf(MixerCommandKind::StartVoice).size(), 1u);
    playSound("ding.ogg"); // 6 ms after: starts again
    frame(1);
    EXPECT_EQ(commandsOf(MixerCommandKind::StartVoice).size(), 2u);
}

TEST_F(AudioTest, PlaySoundAtPassesItsRateAndTheRingWrapsAround) {
    loadSampleFromPcm("score.ogg", constantSound(100, 1000));
    for (int i = 0; i < kMaxVoices + 1; ++i) {
        playSoundAt("score.ogg", 30000 + i);
        frame(10);
    }
    auto starts = commandsOf(MixerCommandKind::StartVoice);
    ASSERT_EQ(starts.size(), size_t(kMaxVoices + 1));
    EXPECT_EQ(starts[0].rate, 30000);
    EXPECT_EQ(starts[0].sample, 0);
    EXPECT_EQ(starts.back().voice, 0); // the 257th start takes the first voice again
    EXPECT_EQ(audio.voices[0].frequency, 30000 + kMaxVoices);
}

TEST_F(AudioTest, VoiceAtHalfRateLastsTwiceAsLongAndThenFreesItsVoice) {
    loadSampleFromPcm("ball.ogg", constantSound(4410, 8000));
    playSoundAt("ball.ogg", 44100);
    frame(10);
    renderCapturedAudio(20000);
    int normal = audibleFrames();
    frame(10);
    EXPECT_EQ(audio.voices[0].state, 0); // finished: the voice is free again

    resetAudioCapture();
    playSoundAt("ball.ogg", 22050);
    frame(10);
    EXPECT_EQ(audio.voices[1].state, 1);
    renderCapturedAudio(20000);
    EXPECT_EQ(normal, 4410);
    EXPECT_EQ(audibleFrames(), 8820);
}

TEST_F(AudioTest, VolumesReachTheMixer) {
    loadSampleFromPcm("a.ogg", constantSound(44100, 16384)); // half of full scale
    setVolumes(40, 50);
    auto volumes = commandsOf(MixerCommandKind::SetVolumes);
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(volumes[0].musicVolume, 40);
    playSound("a.ogg");
    frame(1);
    renderCapturedAudio(4096); // the gain settles within the first chunk
    EXPECT_EQ(mixer.musicVolume, 40);
    EXPECT_NEAR(audioCapture.mix[2 * 4000], 0.25f, 0.001f);
    setVolumes(40, 0);
    renderCapturedAudio(4096);
    EXPECT_NEAR(audioCapture.mix.back(), 0.0f, 1e-6f);
}

TEST_F(AudioTest, StoppedSoundsFadeOutAtOnceInsteadOfClicking) {
    loadSampleFromPcm("hum.ogg", constantSound(44100, 16384));
    playSound("hum.ogg");
    frame(10);
    renderCapturedAudio(1000);
    stopAllSounds();
    renderCapturedAudio(1000);
    frame(10);
    EXPECT_EQ(audio.voices[0].state, 0);
    float jump = 0;
    for (size_t i = 2 * 500; i < audioCapture.mix.size(); i += 2) // after the sound's own onset
        jump = std::max(jump, std::fabs(audioCapture.mix[i] - audioCapture.mix[i - 2]));
    EXPECT_LT(jump, 0.01f); // a cut from 0.45 to 0 would jump by 0.45
    EXPECT_EQ(audioCapture.mix.back(), 0.0f);
}

TEST_F(AudioTest, PausedOutputMixesNothingAndResumesWhereItStopped) {
    loadSampleFromPcm("a.ogg", constantSound(1000, 16384));
    playSound("a.ogg");
    frame(1);
    renderCapturedAudio(300);
    pauseAudio();
    EXPECT_EQ(renderCapturedAudio(300), 0);
    resumeAudio();
    renderCapturedAudio(2000);
    EXPECT_EQ(audibleFrames(), 1000); // the sound went on where it was, whole
}

TEST_F(AudioTest, LoudMixIsLimitedNotClipped) {
    loadSampleFromPcm("boom.ogg", constantSound(20000, 32767));
    for (int i = 0; i < 16; ++i) {
        playSound("boom.ogg");
        frame(10);
    }
    renderCapturedAudio(10000);
    float peak = 0;
    for (float v : audioCapture.mix) peak = std::max(peak, std::fabs(v));
    EXPECT_LT(peak, 1.0f);
    EXPECT_GT(peak, 0.8f);
}

TEST_F(AudioTest, SectionRequestFadesOver800MsThenRestartsAtItsOrder) {
    auto module = tinyModule(70);
    ASSERT_TRUE(loadMusicFromMemory(module.data(), module.size()));
    startMusicSection(2); // at once, no fade
    EXPECT_EQ(audio.fadeMs, 0.0f);
    ASSERT_EQ(commandsOf(MixerCommandKind::MusicPlay).size(), 1u);
    EXPECT_EQ(commandsOf(MixerCommandKind::MusicPlay)[0].order, 29);
    renderCapturedAudio(256);
    EXPECT_EQ(openmpt_module_get_current_order(mixer.music), 29);

    requestMusicSection(3);
    requestMusicSection(3); // already wanted: changes nothing
    EXPECT_EQ(audio.fadeMs, 800.0f);
    for (int i = 0; i < 7; ++i) frame(100);
    EXPECT_EQ(audio.musicChannelVolume, 12); // 100 ms left of 800
    EXPECT_EQ(commandsOf(MixerCommandKind::MusicPlay).size(), 1u);
    EXPECT_EQ(audio.playingOrder, 29);
    frame(100);
    auto plays = commandsOf(MixerCommandKind::MusicPlay);
    ASSERT_EQ(plays.size(), 2u);
    EXPECT_EQ(plays[1].order, 47);
    EXPECT_EQ(audio.musicChannelVolume, 100);
    renderCapturedAudio(256);
    EXPECT_EQ(openmpt_module_get_current_order(mixer.music), 47);
    EXPECT_EQ(mixer.musicChannelVolume, 100);

    requestMusicSection(1);
    frame(100);
    startMusicSection(1); // already wanted: nothing, the fade goes on
    EXPECT_EQ(audio.fadeMs, 700.0f);
    startMusicSection(4); // during a fade: switches at once
    EXPECT_EQ(audio.fadeMs, 0.0f);
    EXPECT_EQ(commandsOf(MixerCommandKind::MusicPlay).back().order, 63);
    EXPECT_EQ(musicSectionOrder(9), 0);
}

TEST_F(AudioTest, LoadSoundsDecodesEveryOggOfTheSoundsFolder) {
    auto folder = std::filesystem::temp_directory_path() / "pebblecraft_audio_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Sounds");
    auto tone = encodeTone(11025);
    std::ofstream(folder / "Sounds" / "tone.ogg", std::ios::binary)
        .write((const char*)tone.data(), tone.size());
    std::ofstream(folder / "Sounds" / "broken.ogg", std::ios::binary) << "not a vorbis stream";
    std::ofstream(folder / "Sounds" / "readme.txt") << "ignored";
    auto module = tinyModule(4);
    std::ofstream(folder / "music.mo3", std::ios::binary).write((const char*)module.data(), module.size());
    std::string previous = dataFolder();
    setDataFolder(folder.string() + "/");
    static int reports, reportedBytes;
    reports = reportedBytes = 0;
    fileRegistry.onFileRegistered = [](int size) { ++reports, reportedBytes += size; };
    loadSounds();
    fileRegistry.onFileRegistered = nullptr;
    setDataFolder(previous);
    EXPECT_EQ(reports, 3); // both sounds and the music reach the loading bar
    EXPECT_EQ(reportedBytes, int(tone.size() + strlen("not a vorbis stream") + module.size()));

    ASSERT_EQ(audio.samples.size(), 2);
    EXPECT_STREQ(audio.samples[0].name, "broken.ogg");
    EXPECT_FALSE(audio.samples[0].valid);
    EXPECT_STREQ(audio.samples[1].name, "tone.ogg");
    EXPECT_TRUE(audio.samples[1].valid);
    EXPECT_EQ(audio.samples[1].pcm.frameCount(), 11025);
    EXPECT_NE(audio.music, nullptr);

    playSound("broken.ogg"); // a sample that could not be decoded plays nothing
    playSound("tone.ogg");
    frame(1);
    EXPECT_EQ(commandsOf(MixerCommandKind::StartVoice).size(), 1u);
    renderCapturedAudio(11025);
    float peak = 0;
    for (float v : audioCapture.mix) peak = std::max(peak, std::fabs(v));
    EXPECT_NEAR(peak, 0.5f * 0.9f, 0.05f); // the tone at the default sound volume
    std::filesystem::remove_all(folder);
}

TEST(AudioWithoutDevice, GameRunsSilently) {
    resetAudio();
    chooseAudioCapture(false);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(initAudio(90, 90));
    unsetenv("SDL_AUDIODRIVER");
    loadSampleFromPcm("ding.ogg", constantSound(100, 1000));
    playSound("ding.ogg");
    requestMusicSection(2);
    app.frameTimeMs = 900;
    updateAudio();
    updateAudio();
    EXPECT_EQ(audio.voices[0].state, 0);
    EXPECT_EQ(audio.playingOrder, 29);
    resetAudio();
}

namespace {

// The page checksum of Ogg: CRC-32 with the polynomial 0x04c11db7, unreflected, over the page with its
// checksum field zeroed.
uint32_t oggPageCrc(const uint8_t* page, size_t size) {
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc ^= uint32_t(page[i]) << 24;
        for (int b = 0; b < 8; ++b) crc = crc & 0x80000000u ? crc << 1 ^ 0x04c11db7u : crc << 1;
    }
    return crc;
}

// The tone with its last page claiming a sample position far beyond what it holds.
std::vector<uint8_t> toneClaimingFrames(int frames, uint64_t claimed) {
    std::vector<uint8_t> ogg = encodeTone(frames);
    size_t last = 0;
    for (size_t i = 0; i + 4 <= ogg.size(); ++i)
        if (std::memcmp(&ogg[i], "OggS", 4) == 0) last = i;
    for (int b = 0; b < 8; ++b) ogg[last + 6 + b] = uint8_t(claimed >> (8 * b));
    for (int b = 0; b < 4; ++b) ogg[last + 22 + b] = 0;
    uint32_t crc = oggPageCrc(&ogg[last], ogg.size() - last);
    for (int b = 0; b < 4; ++b) ogg[last + 22 + b] = uint8_t(crc >> (8 * b));
    return ogg;
}

} // namespace

TEST(AudioDecode, AClaimedLengthBeyondTheFileIsNeverReserved) {
    // Ten seconds take several pages: the claim of the last one is then the stream's length.
    constexpr int kFrames = 441000;
    for (uint64_t claimed : {uint64_t(1) << 40, uint64_t(1) << 62}) {
        std::vector<uint8_t> ogg = toneClaimingFrames(kFrames, claimed);
        PcmSound pcm;
        decodeOgg(ogg.data(), ogg.size(), pcm); // a sound or none; the game goes on either way
        EXPECT_LE(pcm.samples.capacity(), ogg.size() * 16) << claimed;
        EXPECT_LE(pcm.frameCount(), kFrames + 4096) << claimed;
    }
    // The same tone as it was written decodes whole.
    std::vector<uint8_t> ogg = encodeTone(kFrames);
    PcmSound pcm;
    ASSERT_TRUE(decodeOgg(ogg.data(), ogg.size(), pcm));
    EXPECT_EQ(pcm.frameCount(), kFrames);
}
