// Writing musical parts into tracker patterns: melodies from a short note notation, chords voiced for
// pad, piano or arpeggio, bass lines and drum grooves. One pattern is four bars of sixteen rows.
#pragma once

#include "music_instruments.h"
#include "xm_writer.h"

#include <string>
#include <vector>

namespace music {

constexpr int kRowsPerBar = 16;
constexpr int kBarsPerPattern = 4;
constexpr int kRowsPerPattern = kRowsPerBar * kBarsPerPattern;

// The channel each part writes to.
enum Channel : int {
    kMelodyChannel = 0,
    kCounterChannel, // bells and second voices
    kChordChannel1,
    kChordChannel2,
    kChordChannel3,
    kBassChannel,
    kKickChannel,
    kSnareChannel,
    kHatChannel,
    kArpChannel,
    kEchoChannel,  // the melody again, later and softer, from one side: a tracker's echo
    kSpareChannel, // keeps the channel count even
    kChannelCount,
};

// A chord: pitches as MIDI note numbers (60 = middle C) relative to its root.
struct Chord {
    int root = 0;               // pitch class 0..11 (C = 0)
    int bass = 0;               // pitch class of the bass note (the root unless written "C/E")
    std::vector<int> intervals; // semitones above the root, ascending
};

// "F", "Dm", "Bb", "C7", "Gmaj7", "Am7", "Dsus4", "Esus2", "Bdim", "C/E".
Chord parseChord(const std::string& name);
// A chord list written as words; the pattern's 64 rows are shared evenly among them.
std::vector<Chord> parseChords(const std::string& words);

enum class ChordStyle { None, Pad, PianoHeld, PianoOffbeat, PianoBroken };
enum class ArpStyle { None, Eighths, Sixteenths, UpDown };
enum class BassStyle { None, Long, Pulse, Bounce, Drive };
enum class Groove { None, Light, Full, HalfTime, Drive, Shaker };

// Everything that plays in one four-bar pattern.
struct PatternPlan {
    std::string chords; // e.g. "F Dm Bb C"
    std::string melody; // note notation, empty for none
    uint8_t melodyInstrument = kPiano;
    int melodyVolume = 48;
    std::string counter; // a second line (notation), empty for none
    uint8_t counterInstrument = kBell;
    int counterVolume = 38;
    ChordStyle chordStyle = ChordStyle::Pad;
    int chordVolume = 21; // per chord voice
    int chordCentre = 62; // MIDI note the chord voicing gathers around
    ArpStyle arpStyle = ArpStyle::None;
    uint8_t arpInstrument = kMarimba;
    int arpVolume = 22;
    BassStyle bassStyle = BassStyle::Long;
    Groove groove = Groove::Full;
    bool fill = false;      // a snare fill in the last beat
    int beatsPerMinute = 0; // set at the pattern's first row when non-zero
};

// Appends a pattern for `plan` to the module and returns its index.
int addPattern(xm::Module& module, const PatternPlan& plan);
// One pattern made of several four-bar plans in a row (at most four), for sections with few orders.
int addLongPattern(xm::Module& module, const std::vector<PatternPlan>& plans);

// A pattern of `rows` rows left to the caller (jingles write their parts by hand).
int addEmptyPattern(xm::Module& module, int rows);

// Writes a line of note notation into `channel` from `firstRow`. Words: a pitch ("c5", "f#4", "bb5")
// or "r" (rest: the note is released), each with an optional "/n" length in rows (else the previous
// length); "-/n" holds the previous note; "|" is only a bar mark for the reader. Returns rows used.
int writeLine(xm::Pattern& pattern, int channel, int firstRow, const std::string& notation,
              uint8_t instrument, int volume);

// Puts a note (MIDI number) into a cell.
void putNote(xm::Pattern& pattern, int row, int channel, int midi, uint8_t instrument, int volume);

// Pans every note of the pattern to its part's place between the speakers.
void placeInStereo(xm::Pattern& pattern);

// Makes the pattern's last row jump to `order`, so that a section repeats.
void jumpAtEnd(xm::Module& module, int pattern, int order);

} // namespace music
