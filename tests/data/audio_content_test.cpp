// The built sounds and music: every sound the game plays decodes cleanly, and the music module holds
// the sections the game starts by order position, each playing and repeating within itself.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The data builder lays out Data beside the executables of the build; a sanitizer build without the
// tools reads the main build's.
fs::path builtData() {
    std::error_code error;
    fs::path beside = fs::read_symlink("/proc/self/exe", error).parent_path() / "Data";
    if (!error && fs::exists(beside / "music.mo3")) return beside;
    fs::path main = fs::path(PC_SOURCE_DIR) / "build" / "Data";
    if (fs::exists(main / "music.mo3")) return main;
    return {};
}

#define REQUIRE_BUILT_DATA(dir)                                                                              \
    const fs::path dir = builtData();                                                                        \
    if (dir.empty()) GTEST_SKIP() << "no built Data folder (run the data builder: make build)";

struct Decoded {
    bool ok = false;
    long rate = 0;
    int channels = 0;
    std::vector<std::vector<float>> channelSamples; // one list per channel
};

Decoded decodeOgg(const fs::path& path) {
    Decoded d;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return d;
    vorbis_info* info = ov_info(&file, -1);
    d.rate = info->rate;
    d.channels = info->channels;
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        long n = ov_read_float(&file, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&file);
            return d;
        }
        if (n == 0) break;
        d.channelSamples.resize(size_t(d.channels));
        for (int c = 0; c < d.channels; ++c)
            d.channelSamples[size_t(c)].insert(d.channelSamples[size_t(c)].end(), pcm[c], pcm[c] + n);
    }
    ov_clear(&file);
    d.ok = true;
    return d;
}

float peakOf(const std::vector<float>& s, size_t from, size_t to) {
    float p = 0;
    for (size_t i = from; i < std::min(to, s.size()); ++i) p = std::max(p, std::fabs(s[i]));
    return p;
}

// Loudness as the listener hears a short sound: the loudest 50 ms window.
float loudestWindowDb(const std::vector<float>& s, int rate) {
    size_t w = size_t(rate / 20);
    double best = 0;
    for (size_t start = 0; start < s.size(); start += w / 2) {
        double sum = 0;
        for (size_t i = start; i < std::min(s.size(), start + w); ++i) sum += double(s[i]) * s[i];
        best = std::max(best, sum / double(w));
    }
    return float(10.0 * std::log10(best + 1e-12));
}

const char* const kSoundNames[] = {
    "selectball.ogg", "selectaim.ogg", "ballstand.ogg",     "ball.ogg",         "bomb1.ogg",
    "bomb2.ogg",      "diamond.ogg",   "diamond0.ogg",      "chain.ogg",        "square.ogg",
    "addball.ogg",    "addbonus.ogg",  "gethammer.ogg",     "hammer.ogg",       "deleteballs.ogg",
    "excellent.ogg",  "score.ogg",     "levelcomplete.ogg", "level_defeat.ogg", "defeat.ogg",
    "addlife.ogg",    "timeup.ogg",    "menu.ogg",          "menu2.ogg",        "chpok1.ogg",
    "gaf.ogg",        "wow.ogg",       "birds1.ogg",        "birds2.ogg",       "birds3.ogg",
    "waterfall.ogg",  "brook.ogg",
};

TEST(AudioContent, EverySoundDecodesCleanAtGameRate) {
    REQUIRE_BUILT_DATA(data);
    std::vector<float> loudness;
    for (const char* name : kSoundNames) {
        SCOPED_TRACE(name);
        Decoded d = decodeOgg(data / "Sounds" / name);
        ASSERT_TRUE(d.ok) << "missing or undecodable";
        EXPECT_EQ(d.rate, 44100);
        ASSERT_TRUE(d.channels == 1 || d.channels == 2);
        ASSERT_EQ(d.channelSamples.size(), size_t(d.channels)) << "no sound in the file";
        for (const std::vector<float>& s : d.channelSamples) {
            ASSERT_GT(s.size(), 441u) << "shorter than 10 ms";
            float peak = peakOf(s, 0, s.size());
            EXPECT_GT(peak, 0.05f) << "nearly silent";
            EXPECT_LT(peak, 0.98f) << "clips";
            // Edges at rest: a sound that starts or stops mid-wave clicks.
            EXPECT_LT(peakOf(s, 0, 8), 0.03f) << "starts with a click";
            EXPECT_LT(peakOf(s, s.size() - 8, s.size()), 0.03f) << "ends with a click";
            double mean = 0;
            for (float v : s) mean += v;
            EXPECT_LT(std::fabs(mean / double(s.size())), 0.01) << "carries a DC offset";
        }
        loudness.push_back(loudestWindowDb(d.channelSamples[0], 44100));
    }
    // Even loudness: no sound towers over the others or disappears under them.
    auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_LT(*loudest - *quietest, 14.0f);
}

TEST(AudioContent, RepeatedSoundsFitTheirRepeatIntervals) {
    REQUIRE_BUILT_DATA(data);
    auto seconds = [&](const char* name) {
        Decoded d = decodeOgg(data / "Sounds" / name);
        return d.ok && !d.channelSamples.empty() ? double(d.channelSamples[0].size()) / 44100.0 : -1.0;
    };
    // The score count-up plays a blip every 100 ms and the time warning every 400 ms: no pile-up.
    EXPECT_GT(seconds("score.ogg"), 0.02);
    EXPECT_LE(seconds("score.ogg"), 0.1);
    EXPECT_LE(seconds("timeup.ogg"), 0.4);
    // Running water restarts every 3000 ms (brook 3100 ms): each must last until the next starts.
    EXPECT_GE(seconds("waterfall.ogg"), 3.0);
    EXPECT_GE(seconds("brook.ogg"), 3.1);
    // Birds call every 6200 ms; a call is a short phrase.
    for (const char* bird : {"birds1.ogg", "birds2.ogg", "birds3.ogg"}) EXPECT_LE(seconds(bird), 3.0) << bird;
}

struct Section {
    int firstOrder;
    bool jingle;
};

// Where the game starts each part of the song: four level tracks (the menu theme doubling as one),
// the map, and the two jingles.
const Section kSections[] = {{0, false},  {11, false}, {29, false}, {44, false},
                             {47, false}, {63, true},  {65, true}};

struct Playback {
    bool stayedInside = true;
    double loopSeconds = 0;
    int loopTarget = -1;
    float headRms = 0; // over the first four seconds
    float tailRms = 0; // over the four seconds before the loop
    float peak = 0;
};

// Plays from the section start at a low rate (enough to follow the song, and fast) until the song
// jumps backwards, or four minutes pass.
Playback play(openmpt_module* mod, int first, int end) {
    constexpr int kRate = 8000, kChunk = 80;
    openmpt_module_set_repeat_count(mod, -1);
    openmpt_module_set_position_order_row(mod, first, 0);
    Playback p;
    std::vector<float> all;
    float chunk[kChunk];
    int previous = first * 1000;
    while (all.size() < size_t(240 * kRate)) {
        size_t n = openmpt_module_read_float_mono(mod, kRate, kChunk, chunk);
        if (n == 0) break;
        all.insert(all.end(), chunk, chunk + n);
        int order = openmpt_module_get_current_order(mod);
        if (order < first || order >= end) p.stayedInside = false;
        int position = order * 1000 + openmpt_module_get_current_row(mod);
        if (position < previous) {
            p.loopSeconds = double(all.size()) / kRate;
            p.loopTarget = order;
            break;
        }
        previous = position;
    }
    auto rms = [&](size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i < to; ++i) sum += double(all[i]) * all[i];
        return to > from ? float(std::sqrt(sum / double(to - from))) : 0.0f;
    };
    size_t four = std::min(all.size(), size_t(4 * kRate));
    p.headRms = rms(0, four);
    p.tailRms = rms(all.size() - four, all.size());
    p.peak = peakOf(all, 0, all.size());
    return p;
}

openmpt_module* loadMusic(const fs::path& data) {
    std::ifstream in(data / "music.mo3", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr);
}

TEST(AudioContent, MusicSectionsStartWhereTheGameAsksAndRepeatWithinThemselves) {
    REQUIRE_BUILT_DATA(data);
    openmpt_module* mod = loadMusic(data);
    ASSERT_NE(mod, nullptr) << "libopenmpt cannot load music.mo3";
    int orders = openmpt_module_get_num_orders(mod);
    EXPECT_GE(orders, 66);
    for (size_t i = 0; i < std::size(kSections); ++i) {
        const Section& s = kSections[i];
        int end = i + 1 < std::size(kSections) ? kSections[i + 1].firstOrder : orders;
        SCOPED_TRACE("section at order " + std::to_string(s.firstOrder));
        ASSERT_LT(s.firstOrder, orders);
        Playback p = play(mod, s.firstOrder, end);
        EXPECT_TRUE(p.stayedInside) << "playback left the section";
        ASSERT_GT(p.loopSeconds, 0) << "never repeats";
        EXPECT_GE(p.loopTarget, s.firstOrder);
        EXPECT_LT(p.loopTarget, end);
        EXPECT_GT(p.headRms, 0.02f) << "silent start";
        // The game amplifies the module by 80/50; its peaks must leave room for that.
        EXPECT_LT(p.peak, 0.62f);
        if (s.jingle) {
            // A jingle plays once and settles into a quiet tail that repeats on its own.
            EXPECT_GT(p.loopTarget, s.firstOrder);
            EXPECT_LT(p.tailRms, p.headRms * 0.5f);
        } else {
            EXPECT_GE(p.loopSeconds, 30.0) << "a piece to keep on should not repeat every few seconds";
            EXPECT_EQ(p.loopTarget, s.firstOrder);
        }
    }
    openmpt_module_destroy(mod);
}

float renderRms(openmpt_module* mod, double seconds) {
    constexpr int kRate = 8000;
    std::vector<float> out(size_t(seconds * kRate));
    size_t n = openmpt_module_read_float_mono(mod, kRate, out.size(), out.data());
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += double(out[i]) * out[i];
    return n ? float(std::sqrt(sum / double(n))) : 0.0f;
}

// The level-complete jingle has about four seconds before the level's music comes back: its tune must
// be over by then, leaving only the quiet tail.
TEST(AudioContent, LevelCompleteJingleEndsBeforeTheMusicReturns) {
    REQUIRE_BUILT_DATA(data);
    openmpt_module* mod = loadMusic(data);
    ASSERT_NE(mod, nullptr);
    openmpt_module_set_repeat_count(mod, -1);
    openmpt_module_set_position_order_row(mod, 63, 0);
    double seconds = 0;
    while (openmpt_module_get_current_order(mod) == 63 && seconds < 10) {
        renderRms(mod, 0.05);
        seconds += 0.05;
    }
    EXPECT_EQ(openmpt_module_get_current_order(mod), 64);
    EXPECT_LE(seconds, 4.3);
    openmpt_module_destroy(mod);
}

} // namespace
