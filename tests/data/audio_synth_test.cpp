// The clean-up and loudness steps every generated sound goes through. The builder is a tool outside the
// game library, so its self-contained synthesis source is compiled into this test directly.
#include "tools/databuild/audio/synth.cpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SoundFinish, EdgesAtRestAndNoOffset) {
    synth::Buffer b(4410);
    for (size_t i = 0; i < b.size(); ++i) b[i] = 0.3f + 0.5f * std::sin(0.05f * float(i));
    synth::finish(b, 2.0f, 8.0f, false);
    EXPECT_EQ(b.front(), 0.0f);
    EXPECT_EQ(b.back(), 0.0f);
    double mean = 0;
    for (size_t i = b.size() / 2; i < b.size(); ++i) mean += b[i];
    EXPECT_NEAR(mean / double(b.size() / 2), 0.0, 0.02) << "the offset was not removed";
}

TEST(SoundFinish, TrailingSilenceIsTrimmed) {
    synth::Buffer b(44100, 0.0f);
    for (int i = 0; i < 4410; ++i) b[size_t(i)] = 0.5f * std::sin(0.1f * float(i));
    synth::finish(b);
    EXPECT_LT(b.size(), size_t(4500));
    EXPECT_GT(b.size(), size_t(4000));
}

TEST(SoundLoudness, LoudestWindowReachesTargetUnlessThePeakForbids) {
    synth::Buffer steady(44100);
    for (size_t i = 0; i < steady.size(); ++i) steady[i] = 0.05f * std::sin(0.07f * float(i));
    synth::normalise(steady, 0.2f, 0.9f);
    EXPECT_NEAR(synth::loudestWindowRms(steady), 0.2f, 0.005f);
    // A lone spike: reaching the loudness target would clip, so the peak limit decides.
    synth::Buffer spike(44100, 0.0f);
    spike[100] = 0.5f;
    synth::normalise(spike, 0.2f, 0.9f);
    EXPECT_NEAR(synth::peakOf(spike), 0.9f, 1e-4f);
}

} // namespace
