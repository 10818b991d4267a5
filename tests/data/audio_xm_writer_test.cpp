// The data builder's tracker module writer, as libopenmpt reads the module back. The builder is a tool
// outside the game library, so the writer's self-contained source is compiled into this test directly.
#include "tools/databuild/audio/synth.h"
#include "tools/databuild/audio/xm_writer.cpp"

#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kRenderRate = 44100;

// A module with one looped sine instrument and the given patterns and orders.
xm::Module sineModule(double sampleHz, int period) {
    xm::Module m;
    m.name = "test";
    m.channels = 2;
    m.ticksPerRow = 6;
    m.beatsPerMinute = 125;
    xm::Instrument ins;
    ins.name = "sine";
    ins.sample.data.resize(size_t(period * 50));
    for (size_t i = 0; i < ins.sample.data.size(); ++i)
        ins.sample.data[i] = int16_t(std::lround(20000 * std::sin(synth::kTwoPi * double(i) / period)));
    ins.sample.loopLength = uint32_t(ins.sample.data.size());
    xm::tuneSample(ins.sample, sampleHz);
    m.instruments.push_back(ins);
    return m;
}

openmpt_module* load(const std::vector<uint8_t>& bytes) {
    return openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr);
}

// Pitch by counting upward zero crossings over a stretch of steady tone.
double measureHz(const std::vector<float>& s) {
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            if (crossings == 0) first = i;
            last = i;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * double(kRenderRate) / double(last - first) : 0.0;
}

std::vector<float> renderSeconds(openmpt_module* mod, double seconds) {
    std::vector<float> out(size_t(seconds * kRenderRate));
    out.resize(openmpt_module_read_float_mono(mod, kRenderRate, out.size(), out.data()));
    return out;
}

TEST(XmWriter, NotesSoundAtTheirOwnPitchWhateverTheSampleWasRecordedAt) {
    // 168 samples per cycle is 262.5 Hz, a little sharp of middle C: the tuning must absorb that.
    xm::Module m = sineModule(44100.0 / 168, 168);
    xm::Pattern p(64, 2);
    p.at(0, 0).note = 49; // C-4
    p.at(0, 0).instrument = 1;
    p.at(32, 0).note = 58;
    m.patterns.push_back(p);
    m.orders = {0};
    openmpt_module* mod = load(xm::writeModule(m));
    ASSERT_NE(mod, nullptr);
    EXPECT_EQ(openmpt_module_get_num_orders(mod), 1);
    EXPECT_EQ(openmpt_module_get_num_instruments(mod), 1);
    EXPECT_EQ(openmpt_module_get_pattern_num_rows(mod, 0), 64);
    // 32 rows at speed 6 and 125 BPM last 3.84 s; measure inside each half, away from the note changes.
    std::vector<float> all = renderSeconds(mod, 7.0);
    ASSERT_GE(all.size(), size_t(7 * kRenderRate) - 1);
    std::vector<float> c4(all.begin() + kRenderRate / 2, all.begin() + 3 * kRenderRate);
    std::vector<float> a4(all.begin() + 4 * kRenderRate, all.begin() + 6 * kRenderRate);
    EXPECT_NEAR(measureHz(c4), 261.63, 1.0);
    EXPECT_NEAR(measureHz(a4), 440.0, 1.5);
    openmpt_module_destroy(mod);
}

TEST(XmWriter, OrdersPatternsAndJumpsPlayBackAsWritten) {
    xm::Module m = sineModule(44100.0 / 100, 100);
    xm::Pattern intro(16, 2), loop(8, 2);
    intro.at(0, 0).note = 49;
    intro.at(0, 0).instrument = 1;
    intro.at(0, 0).volume = 0x10 + 40;
    loop.at(0, 1).note = xm::kKeyOff;
    loop.at(7, 1).effect = xm::kEffectPositionJump;
    loop.at(7, 1).param = 2; // the third order: the loop repeats without the intro
    m.patterns = {intro, loop};
    m.orders = {0, 1, 1};
    openmpt_module* mod = load(xm::writeModule(m));
    ASSERT_NE(mod, nullptr);
    EXPECT_EQ(openmpt_module_get_num_orders(mod), 3);
    EXPECT_EQ(openmpt_module_get_num_patterns(mod), 2);
    EXPECT_EQ(openmpt_module_get_order_pattern(mod, 2), 1);
    EXPECT_EQ(openmpt_module_get_pattern_num_rows(mod, 1), 8);
    openmpt_module_set_repeat_count(mod, -1);
    // Over eight seconds: the intro once, then the loop pattern at orders 1 and 2, then only order 2.
    std::vector<int> visited;
    for (int step = 0; step < 400; ++step) {
        renderSeconds(mod, 0.02);
        int order = openmpt_module_get_current_order(mod);
        if (visited.empty() || visited.back() != order) visited.push_back(order);
    }
    ASSERT_EQ(visited.size(), 3u);
    EXPECT_EQ(visited[0], 0);
    EXPECT_EQ(visited[1], 1);
    EXPECT_EQ(visited[2], 2);
    openmpt_module_destroy(mod);
}

} // namespace
