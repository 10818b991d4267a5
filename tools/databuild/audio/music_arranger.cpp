#include "music_arranger.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <sstream>

namespace music {

namespace {

int pitchClass(const std::string& s, size_t& i) {
    static const int kLetter[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    assert(i < s.size() && s[i] >= 'A' && s[i] <= 'g');
    int pc = kLetter[std::tolower(s[i]) - 'a'];
    ++i;
    if (i < s.size() && s[i] == '#') {
        pc += 1;
        ++i;
    } else if (i < s.size() && s[i] == 'b') { // a lower-case b after the letter is a flat
        pc += 11;
        ++i;
    }
    return pc % 12;
}

// "c5" -> 72 (C-5 in tracker terms is one octave above middle C's C-4).
int parsePitch(const std::string& word) {
    size_t i = 0;
    int pc = pitchClass(word, i);
    assert(i < word.size() && std::isdigit(word[i]));
    int octave = word[i] - '0';
    return 12 * (octave + 1) + pc;
}

std::vector<int> voice(const Chord& chord, int centre) {
    std::vector<int> tones = chord.intervals;
    if (tones.size() > 3) tones.erase(std::remove(tones.begin(), tones.end(), 7), tones.end());
    std::vector<int> notes;
    for (int t : tones) {
        int n = chord.root + t;
        while (n < centre - 6) n += 12;
        while (n >= centre + 6) n -= 12;
        notes.push_back(n);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

int bassNote(const Chord& chord) {
    int n = chord.bass;
    while (n < 36) n += 12; // C-2 .. B-2: round and clear
    return n;
}

float level(char c) {
    return c == 'X' ? 1.0f : c == 'x' ? 0.75f : c == 'o' ? 0.5f : 0.0f;
}

void drumLine(xm::Pattern& p, int bar, int channel, const char* hits, uint8_t instrument, int volume) {
    for (int r = 0; r < kRowsPerBar; ++r) {
        float l = level(hits[r]);
        if (l > 0) putNote(p, bar * kRowsPerBar + r, channel, 60, instrument, int(volume * l));
    }
}

void writeGroove(xm::Pattern& p, Groove groove, bool fill) {
    for (int bar = 0; bar < kBarsPerPattern; ++bar) {
        switch (groove) {
        case Groove::None:
            break;
        case Groove::Light:
            drumLine(p, bar, kKickChannel, "X.......x.......", kKick, 50);
            drumLine(p, bar, kHatChannel, "..x...x...x...x.", kHat, 40);
            break;
        case Groove::Full:
            drumLine(p, bar, kKickChannel, "X.....x.X.......", kKick, 56);
            drumLine(p, bar, kSnareChannel, "....X.......X...", kSnare, 40);
            drumLine(p, bar, kHatChannel, "..x...x...x...x.", kHat, 40);
            break;
        case Groove::HalfTime:
            drumLine(p, bar, kKickChannel, "X.........x.....", kKick, 54);
            drumLine(p, bar, kSnareChannel, "........X.......", kClap, 40);
            drumLine(p, bar, kHatChannel, "x.o.x.o.x.o.x.o.", kShaker, 30);
            break;
        case Groove::Drive:
            drumLine(p, bar, kKickChannel, "X...X...X...X..x", kKick, 56);
            drumLine(p, bar, kSnareChannel, "....X.......X...", kSnare, 42);
            drumLine(p, bar, kHatChannel, "o.X.o.X.o.X.o.Xo", kHat, 40);
            break;
        case Groove::Shaker:
            drumLine(p, bar, kKickChannel, bar % 2 ? "........x......." : "X...............", kKick, 44);
            drumLine(p, bar, kHatChannel, "x.o.x.o.x.o.x.o.", kShaker, 26);
            break;
        }
    }
    if (fill && groove != Groove::None) {
        int last = kRowsPerPattern - 4;
        for (int r = 0; r < 4; ++r) putNote(p, last + r, kSnareChannel, 60, kSnare, 22 + 6 * r);
    }
}

void writeChords(xm::Pattern& p, const std::vector<Chord>& chords, const PatternPlan& plan) {
    const int volume = plan.chordVolume;
    int slot = kRowsPerPattern / int(chords.size());
    for (size_t c = 0; c < chords.size(); ++c) {
        std::vector<int> notes = voice(chords[c], plan.chordCentre);
        int start = int(c) * slot;
        for (size_t v = 0; v < notes.size() && v < 3; ++v) {
            int channel = kChordChannel1 + int(v);
            switch (plan.chordStyle) {
            case ChordStyle::None:
                break;
            case ChordStyle::Pad:
                putNote(p, start, channel, notes[v], kPad, volume);
                break;
            case ChordStyle::PianoHeld:
                putNote(p, start, channel, notes[v], kPiano, volume);
                break;
            case ChordStyle::PianoOffbeat:
                for (int r = 2; r < slot; r += 4)
                    putNote(p, start + r, channel, notes[v], kPiano, r % 8 == 2 ? volume + 3 : volume - 2);
                break;
            case ChordStyle::PianoBroken:
                // Low-to-high roll on the beat, then a quieter repeat halfway through the chord.
                putNote(p, start + int(v), channel, notes[v], kPiano, volume + 1);
                if (slot >= 16) putNote(p, start + 8 + int(v), channel, notes[v], kPiano, volume * 3 / 4);
                break;
            }
        }
    }
}

void writeArp(xm::Pattern& p, const std::vector<Chord>& chords, const PatternPlan& plan) {
    if (plan.arpStyle == ArpStyle::None) return;
    int slot = kRowsPerPattern / int(chords.size());
    for (size_t c = 0; c < chords.size(); ++c) {
        std::vector<int> notes = voice(chords[c], plan.chordCentre + 10);
        size_t count = notes.size();
        for (size_t i = 0; i < count; ++i) notes.push_back(notes[i] + 12);
        int step = plan.arpStyle == ArpStyle::Sixteenths ? 1 : 2;
        for (int r = 0, k = 0; r < slot; r += step, ++k) {
            int index;
            if (plan.arpStyle == ArpStyle::UpDown) {
                int span = int(notes.size()) * 2 - 2;
                int m = k % span;
                index = m < int(notes.size()) ? m : span - m;
            } else {
                index = k % int(notes.size());
            }
            int accent = (r % 4 == 0) ? plan.arpVolume : plan.arpVolume * 3 / 4;
            putNote(p, int(c) * slot + r, kArpChannel, notes[size_t(index)], plan.arpInstrument, accent);
        }
    }
}

void writeBass(xm::Pattern& p, const std::vector<Chord>& chords, BassStyle style) {
    int slot = kRowsPerPattern / int(chords.size());
    for (size_t c = 0; c < chords.size(); ++c) {
        int root = bassNote(chords[c]);
        int fifth = root + 7;
        int start = int(c) * slot;
        auto put = [&](int r, int note, int volume) {
            if (r < slot) putNote(p, start + r, kBassChannel, note, kBass, volume);
        };
        switch (style) {
        case BassStyle::None:
            break;
        case BassStyle::Long:
            put(0, root, 52);
            if (slot >= 16) put(10, root, 40);
            break;
        case BassStyle::Pulse:
            for (int r = 0; r < slot; r += 2) put(r, root, r % 4 == 0 ? 50 : 38);
            break;
        case BassStyle::Bounce:
            put(0, root, 54);
            put(6, root, 40);
            put(8, fifth, 46);
            put(12, root + 12, 42);
            put(14, root, 40);
            break;
        case BassStyle::Drive:
            for (int r = 0; r < slot; r += 2) put(r, (r / 2) % 2 ? root + 12 : root, r % 4 == 0 ? 52 : 40);
            break;
        }
    }
}

constexpr int kEchoDelayRows = 3; // a dotted eighth: the echo falls between the tune's own notes

// The melody copied a few rows later at a fraction of its volume.
void writeEcho(xm::Pattern& p, int melodyVolume) {
    for (int row = p.rows - 1 - kEchoDelayRows; row >= 0; --row) {
        const xm::Cell& source = p.at(row, kMelodyChannel);
        if (!source.note) continue;
        xm::Cell& echo = p.at(row + kEchoDelayRows, kEchoChannel);
        echo.note = source.note;
        echo.instrument = source.instrument;
        if (source.volume) echo.volume = uint8_t(0x10 + melodyVolume * 2 / 5);
    }
}

} // namespace

Chord parseChord(const std::string& name) {
    Chord chord;
    size_t i = 0;
    chord.root = pitchClass(name, i);
    chord.bass = chord.root;
    std::string rest = name.substr(i);
    size_t slash = rest.find('/');
    if (slash != std::string::npos) {
        size_t j = 0;
        std::string bass = rest.substr(slash + 1);
        chord.bass = pitchClass(bass, j);
        rest = rest.substr(0, slash);
    }
    if (rest == "")
        chord.intervals = {0, 4, 7};
    else if (rest == "m")
        chord.intervals = {0, 3, 7};
    else if (rest == "7")
        chord.intervals = {0, 4, 7, 10};
    else if (rest == "maj7")
        chord.intervals = {0, 4, 7, 11};
    else if (rest == "m7")
        chord.intervals = {0, 3, 7, 10};
    else if (rest == "sus4")
        chord.intervals = {0, 5, 7};
    else if (rest == "sus2")
        chord.intervals = {0, 2, 7};
    else if (rest == "add9")
        chord.intervals = {0, 2, 4, 7};
    else if (rest == "dim")
        chord.intervals = {0, 3, 6};
    else
        assert(!"unknown chord quality");
    return chord;
}

std::vector<Chord> parseChords(const std::string& words) {
    std::vector<Chord> chords;
    std::istringstream in(words);
    std::string word;
    while (in >> word) chords.push_back(parseChord(word));
    assert(!chords.empty() && kRowsPerPattern % chords.size() == 0);
    return chords;
}

void putNote(xm::Pattern& pattern, int row, int channel, int midi, uint8_t instrument, int volume) {
    assert(row >= 0 && row < pattern.rows && channel >= 0 && channel < pattern.channels);
    xm::Cell& cell = pattern.at(row, channel);
    cell.note = uint8_t(std::clamp(midi - 11, 1, 96)); // MIDI 60 is the tracker's C-4 (49)
    cell.instrument = instrument;
    cell.volume = uint8_t(0x10 + std::clamp(volume, 0, 64));
}

int writeLine(xm::Pattern& pattern, int channel, int firstRow, const std::string& notation,
              uint8_t instrument, int volume) {
    std::istringstream in(notation);
    std::string word;
    int row = firstRow, length = 4;
    while (in >> word) {
        if (word == "|") continue;
        size_t slash = word.find('/');
        std::string head = word.substr(0, slash);
        if (slash != std::string::npos) length = std::stoi(word.substr(slash + 1));
        assert(row < pattern.rows);
        if (head == "r") {
            pattern.at(row, channel).note = xm::kKeyOff;
        } else if (head != "-") {
            putNote(pattern, row, channel, parsePitch(head), instrument, volume);
        }
        row += length;
    }
    assert(row <= pattern.rows);
    return row - firstRow;
}

int addEmptyPattern(xm::Module& module, int rows) {
    module.patterns.emplace_back(rows, module.channels);
    return int(module.patterns.size()) - 1;
}

int addPattern(xm::Module& module, const PatternPlan& plan) {
    return addLongPattern(module, {plan});
}

int addLongPattern(xm::Module& module, const std::vector<PatternPlan>& plans) {
    assert(!plans.empty() && plans.size() * kRowsPerPattern <= xm::kMaxRows);
    int index = addEmptyPattern(module, int(plans.size()) * kRowsPerPattern);
    xm::Pattern& whole = module.patterns[size_t(index)];
    for (size_t part = 0; part < plans.size(); ++part) {
        const PatternPlan& plan = plans[part];
        xm::Pattern p(kRowsPerPattern, module.channels);
        std::vector<Chord> chords = parseChords(plan.chords);
        writeChords(p, chords, plan);
        writeArp(p, chords, plan);
        writeBass(p, chords, plan.bassStyle);
        writeGroove(p, plan.groove, plan.fill);
        if (!plan.melody.empty()) {
            int used = writeLine(p, kMelodyChannel, 0, plan.melody, plan.melodyInstrument, plan.melodyVolume);
            assert(used == kRowsPerPattern);
            (void)used;
            writeEcho(p, plan.melodyVolume);
        }
        if (!plan.counter.empty())
            writeLine(p, kCounterChannel, 0, plan.counter, plan.counterInstrument, plan.counterVolume);
        // A part that rests for these bars releases what it held: the sustaining voices (flute, lead)
        // would otherwise drone on over the new chords.
        if (plan.melody.empty()) p.at(0, kMelodyChannel).note = p.at(0, kEchoChannel).note = xm::kKeyOff;
        if (plan.counter.empty()) p.at(0, kCounterChannel).note = xm::kKeyOff;
        if (plan.beatsPerMinute) {
            p.at(0, kKickChannel).effect = xm::kEffectSpeed;
            p.at(0, kKickChannel).param = uint8_t(plan.beatsPerMinute);
            p.at(0, kSnareChannel).effect = xm::kEffectSpeed;
            p.at(0, kSnareChannel).param = 6;
        }
        placeInStereo(p);
        std::copy(p.cells.begin(), p.cells.end(), whole.cells.begin() + long(part * p.cells.size()));
    }
    return index;
}

// Where each part sits between the speakers (0 left, 128 centre, 255 right), set with every note so
// the image is right wherever playback starts.
void placeInStereo(xm::Pattern& p) {
    static const uint8_t kPan[kChannelCount] = {128, 168, 88, 128, 168, 128, 128, 120, 150, 96, 72, 128};
    for (int row = 0; row < p.rows; ++row) {
        for (int channel = 0; channel < kChannelCount; ++channel) {
            xm::Cell& cell = p.at(row, channel);
            if (cell.note >= 1 && cell.note <= 96 && cell.effect == 0 && cell.param == 0 &&
                kPan[channel] != 128) {
                cell.effect = xm::kEffectPanning;
                cell.param = kPan[channel];
            }
        }
    }
}

void jumpAtEnd(xm::Module& module, int pattern, int order) {
    xm::Pattern& p = module.patterns[size_t(pattern)];
    xm::Cell& cell = p.at(p.rows - 1, kHatChannel);
    cell.effect = xm::kEffectPositionJump;
    cell.param = uint8_t(order);
}

} // namespace music
