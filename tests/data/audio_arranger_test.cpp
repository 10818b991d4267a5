// Writing music into patterns: chord names, the note notation the tunes are written in, and where the
// accompaniment lands. The builder is a tool outside the game library, so the arranger's source is
// compiled into this test directly.
#include "tools/databuild/audio/music_arranger.cpp"

#include <gtest/gtest.h>

namespace {

using namespace music;

constexpr int kTrackerNoteOfMidi0 = -11; // MIDI 60 (middle C) is the tracker's C-4, note 49

TEST(MusicArranger, ChordNamesGiveRootQualityAndBass) {
    Chord bFlat = parseChord("Bb");
    EXPECT_EQ(bFlat.root, 10);
    EXPECT_EQ(bFlat.intervals, (std::vector<int>{0, 4, 7}));
    Chord fSharpMinor7 = parseChord("F#m7");
    EXPECT_EQ(fSharpMinor7.root, 6);
    EXPECT_EQ(fSharpMinor7.intervals, (std::vector<int>{0, 3, 7, 10}));
    Chord cOverE = parseChord("C/E");
    EXPECT_EQ(cOverE.root, 0);
    EXPECT_EQ(cOverE.bass, 4);
    EXPECT_EQ(parseChords("F Dm Bb C F Dm Bb C").size(), 8u);
}

TEST(MusicArranger, NotationPlacesNotesRestsAndHolds) {
    xm::Pattern p(64, kChannelCount);
    int rows = writeLine(p, kMelodyChannel, 0, "c5/4 | bb4/2 r/2 -/4 f#5", kPiano, 40);
    EXPECT_EQ(rows, 16); // the last note keeps the previous length
    EXPECT_EQ(p.at(0, kMelodyChannel).note, 72 + kTrackerNoteOfMidi0);
    EXPECT_EQ(p.at(0, kMelodyChannel).instrument, kPiano);
    EXPECT_EQ(p.at(0, kMelodyChannel).volume, 0x10 + 40);
    EXPECT_EQ(p.at(4, kMelodyChannel).note, 70 + kTrackerNoteOfMidi0);
    EXPECT_EQ(p.at(6, kMelodyChannel).note, xm::kKeyOff);
    EXPECT_EQ(p.at(8, kMelodyChannel).note, 0); // held: nothing new
    EXPECT_EQ(p.at(12, kMelodyChannel).note, 78 + kTrackerNoteOfMidi0);
}

TEST(MusicArranger, AccompanimentFollowsTheChordsInTime) {
    xm::Module m;
    m.channels = kChannelCount;
    PatternPlan plan;
    plan.chords = "F Dm Bb C";
    plan.chordStyle = ChordStyle::Pad;
    plan.bassStyle = BassStyle::Long;
    plan.groove = Groove::None;
    plan.melody = "f5/64";
    const xm::Pattern& p = m.patterns[size_t(addPattern(m, plan))];
    const int roots[] = {5, 2, 10, 0};
    for (int bar = 0; bar < 4; ++bar) {
        int row = bar * kRowsPerBar;
        SCOPED_TRACE(bar);
        // The bass plays the chord's root; the pad's three voices are chord tones around the centre.
        int bass = p.at(row, kBassChannel).note - kTrackerNoteOfMidi0;
        EXPECT_EQ(bass % 12, roots[bar]);
        for (int channel = kChordChannel1; channel <= kChordChannel3; ++channel) {
            int note = p.at(row, channel).note - kTrackerNoteOfMidi0;
            int interval = ((note - roots[bar]) % 12 + 12) % 12;
            EXPECT_TRUE(interval == 0 || interval == 3 || interval == 4 || interval == 7) << note;
            EXPECT_LE(std::abs(note - plan.chordCentre), 6);
        }
    }
    // The echo repeats the tune three rows later, softer.
    EXPECT_EQ(p.at(3, kEchoChannel).note, p.at(0, kMelodyChannel).note);
    EXPECT_LT(p.at(3, kEchoChannel).volume, p.at(0, kMelodyChannel).volume);
}

TEST(MusicArranger, APartThatRestsReleasesItsHeldNote) {
    // A flute held at the end of one pattern must not drone through bars that have no tune.
    xm::Module m;
    m.channels = kChannelCount;
    PatternPlan resting;
    resting.chords = "Bb F Gm Dm";
    const xm::Pattern& p = m.patterns[size_t(addPattern(m, resting))];
    EXPECT_EQ(p.at(0, kMelodyChannel).note, xm::kKeyOff);
    EXPECT_EQ(p.at(0, kEchoChannel).note, xm::kKeyOff);
    EXPECT_EQ(p.at(0, kCounterChannel).note, xm::kKeyOff);
}

} // namespace
