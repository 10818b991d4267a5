#include "music_score.h"

#include "music_arranger.h"
#include "music_instruments.h"

#include <cassert>

namespace music {

namespace {

// Adds the patterns of a section in order (a pattern may be listed more than once) and makes the last
// order jump back to the section's first. The section sets its global volume as it starts, which evens
// out the loudness of the pieces (64 is full).
void layOut(xm::Module& m, const MusicSection& section, const std::vector<int>& patterns,
            int globalVolume = 64) {
    assert(int(m.orders.size()) == section.firstOrder && int(patterns.size()) == section.orderCount);
    for (int p : patterns) m.orders.push_back(uint8_t(p));
    // The last pattern must be used only there, or the jump would cut the section short elsewhere.
    for (size_t i = 0; i + 1 < patterns.size(); ++i) assert(patterns[i] != patterns.back());
    jumpAtEnd(m, patterns.back(), section.firstOrder);
    xm::Cell& first = m.patterns[size_t(patterns.front())].at(0, kEchoChannel);
    first.effect = xm::kEffectGlobalVolume;
    first.param = uint8_t(globalVolume);
}

// Level music one: bright and bouncy, F major, marimba tune over piano and pad.
void levelOne(xm::Module& m) {
    const char* verse1 = "a4/2 c5/2 f5/4 e5/2 f5/2 g5/4 | a5/6 g5/2 f5/4 d5/4 | "
                         "d5/2 f5/2 bb5/4 a5/2 g5/2 f5/4 | g5/8 e5/4 c5/4";
    const char* verse2 = "a4/2 c5/2 f5/4 e5/2 f5/2 a5/4 | c6/6 a5/2 e5/4 c5/4 | "
                         "d5/2 f5/2 bb5/4 c6/2 bb5/2 g5/4 | f5/12 r/4";
    const char* chorus1 = "f5/4 d5/2 f5/2 bb5/6 a5/2 | g5/4 e5/2 g5/2 c6/8 | "
                          "c6/4 a5/2 c6/2 e6/6 d6/2 | d6/4 a5/4 f5/8";
    const char* chorus2 = "bb5/4 a5/2 g5/2 d5/4 g5/4 | e5/4 g5/4 c6/4 bb5/4 | "
                          "a5/4 g5/2 f5/2 c5/4 f5/4 | g5/8 e5/4 c5/4";
    const char* sparkle = "r/8 f6/8 | r/8 g6/8 | r/8 e6/8 | r/8 f6/8";
    PatternPlan base;
    base.melodyInstrument = kMarimba;
    base.melodyVolume = 64;
    base.chordStyle = ChordStyle::PianoBroken;
    base.chordCentre = 60;
    base.bassStyle = BassStyle::Bounce;
    base.groove = Groove::Full;

    PatternPlan intro = base;
    intro.chords = "F Dm Bb C";
    intro.chordStyle = ChordStyle::Pad;
    intro.arpStyle = ArpStyle::Eighths;
    intro.groove = Groove::Light;
    intro.bassStyle = BassStyle::Long;
    intro.beatsPerMinute = 118;
    PatternPlan a1 = base, a2 = base, b1 = base, b2 = base;
    a1.chords = "F Dm Bb C";
    a1.melody = verse1;
    a2.chords = "F F Am Am Bb C F F";
    a2.melody = verse2;
    b1.chords = "Bb C Am Dm";
    b1.melody = chorus1;
    b1.counter = sparkle;
    b1.arpStyle = ArpStyle::Eighths;
    b2.chords = "Gm C F C";
    b2.melody = chorus2;
    b2.arpStyle = ArpStyle::Eighths;
    PatternPlan brk = base;
    brk.chords = "F Am Bb C";
    brk.chordStyle = ChordStyle::Pad;
    brk.arpStyle = ArpStyle::UpDown;
    brk.arpInstrument = kBell;
    brk.arpVolume = 20;
    brk.groove = Groove::HalfTime;
    brk.bassStyle = BassStyle::Long;
    brk.counter = "c6/8 a5/8 | e6/8 c6/8 | d6/8 f6/8 | e6/16";
    brk.counterInstrument = kFlute;
    brk.counterVolume = 38;
    PatternPlan b2fill = b2;
    b2fill.fill = true;
    PatternPlan outro = intro;
    outro.beatsPerMinute = 0;
    outro.fill = true;

    int pIntro = addPattern(m, intro), pA1 = addPattern(m, a1), pA2 = addPattern(m, a2);
    int pB1 = addPattern(m, b1), pB2 = addPattern(m, b2), pBrk = addPattern(m, brk);
    int pB2Fill = addPattern(m, b2fill), pOutro = addPattern(m, outro);
    layOut(m, kMusicSections[0], {pIntro, pA1, pA2, pB1, pB2, pBrk, pA1, pA2, pB1, pB2Fill, pOutro});
}

// Level music two: relaxed, D minor, flute over plucked nylon and pad.
void levelTwo(xm::Module& m) {
    const char* theme1 = "d5/6 e5/2 f5/4 a5/4 | g5/6 f5/2 d5/8 | c5/4 f5/4 a5/4 c6/4 | g5/6 a5/2 e5/8";
    const char* theme2 =
        "bb5/6 a5/2 g5/4 d5/4 | f5/6 e5/2 d5/4 a4/4 | bb4/4 d5/4 f5/4 g5/4 | e5/8 c#5/4 a4/4";
    const char* second1 = "a5/4 c6/4 a5/4 f5/4 | g5/8 e5/8 | f5/4 a5/4 d6/4 c6/4 | bb5/12 r/4";
    const char* second2 = "g5/4 bb5/4 d6/4 bb5/4 | c6/6 bb5/2 g5/8 | a5/4 g5/4 f5/4 e5/4 | e5/16";
    PatternPlan base;
    base.melodyInstrument = kFlute;
    base.melodyVolume = 48;
    base.chordStyle = ChordStyle::Pad;
    base.chordCentre = 60;
    base.arpStyle = ArpStyle::Eighths;
    base.arpInstrument = kGuitar;
    base.arpVolume = 30;
    base.bassStyle = BassStyle::Long;
    base.groove = Groove::HalfTime;

    PatternPlan intro = base;
    intro.chords = "Dm Bb F C";
    intro.groove = Groove::None;
    intro.beatsPerMinute = 96;
    PatternPlan intro2 = intro;
    intro2.beatsPerMinute = 0;
    intro2.groove = Groove::Shaker;
    intro2.counter = "a5/16 | f5/16 | c6/16 | g5/16";
    intro2.counterVolume = 26;
    PatternPlan t1 = base, t2 = base, s1 = base, s2 = base;
    t1.chords = "Dm Bb F C";
    t1.melody = theme1;
    t2.chords = "Gm Dm Bb A";
    t2.melody = theme2;
    s1.chords = "F C Dm Bb";
    s1.melody = second1;
    s1.bassStyle = BassStyle::Bounce;
    s1.arpStyle = ArpStyle::UpDown;
    s2.chords = "Gm C F A";
    s2.melody = second2;
    s2.bassStyle = BassStyle::Bounce;
    s2.arpStyle = ArpStyle::UpDown;
    s2.fill = true;
    PatternPlan brk1 = base;
    brk1.chords = "Bb F Gm Dm";
    brk1.groove = Groove::None;
    brk1.arpStyle = ArpStyle::Sixteenths;
    brk1.arpVolume = 22;
    brk1.counter = "f6/8 d6/8 | c6/8 a5/8 | bb5/8 d6/8 | a5/16";
    brk1.counterVolume = 28;
    PatternPlan brk2 = brk1;
    brk2.chords = "Bb F Gm A";
    brk2.groove = Groove::Shaker;
    brk2.counter = "f6/8 d6/8 | c6/8 a5/8 | g5/8 bb5/8 | c#6/16";
    PatternPlan t1p = t1, t2p = t2;
    t1p.melodyInstrument = kPiano;
    t1p.melodyVolume = 56;
    t1p.counter = "r/8 a6/8 | r/8 f6/8 | r/8 c6/8 | r/8 e6/8";
    t2p.melodyInstrument = kPiano;
    t2p.melodyVolume = 56;
    PatternPlan out1 = intro, out2 = intro;
    out1.beatsPerMinute = out2.beatsPerMinute = 0;
    out1.groove = Groove::Shaker;
    out2.chords = "Gm Dm Bb A";
    out2.groove = Groove::Shaker;

    int pIntro = addPattern(m, intro), pIntro2 = addPattern(m, intro2), pT1 = addPattern(m, t1);
    int pT2 = addPattern(m, t2), pS1 = addPattern(m, s1), pS2 = addPattern(m, s2);
    int pBrk1 = addPattern(m, brk1), pBrk2 = addPattern(m, brk2), pT1p = addPattern(m, t1p);
    int pT2p = addPattern(m, t2p), pOut1 = addPattern(m, out1), pOut2 = addPattern(m, out2);
    layOut(m, kMusicSections[1],
           {pIntro, pIntro2, pT1, pT2, pT1, pT2, pS1, pS2, pBrk1, pBrk2, pT1p, pT2p, pS1, pS2, pT1, pT2,
            pOut1, pOut2},
           49);
}

// The menu's theme (also a level track): warm, G major, piano and bells.
void menuTheme(xm::Module& m) {
    const char* a1 = "d5/4 g5/4 b5/6 a5/2 | g5/4 e5/4 b4/8 | c5/4 e5/4 g5/6 e5/2 | f#5/8 a5/4 d5/4";
    const char* a2 = "d5/4 g5/4 b5/6 d6/2 | d6/4 b5/4 f#5/8 | e5/4 g5/4 f#5/4 a5/4 | g5/12 r/4";
    const char* c1 = "e6/6 d6/2 c6/4 g5/4 | a5/6 b5/2 a5/4 f#5/4 | d6/6 b5/2 f#5/8 | g5/4 b5/4 e6/8";
    const char* c2 = "c6/6 b5/2 a5/4 e5/4 | f#5/4 a5/4 d6/4 c6/4 | b5/8 g5/4 d5/4 | a5/12 r/4";
    PatternPlan base;
    base.melodyInstrument = kPiano;
    base.melodyVolume = 60;
    base.chordStyle = ChordStyle::Pad;
    base.chordVolume = 16;
    base.chordCentre = 62;
    base.bassStyle = BassStyle::Long;
    base.groove = Groove::Light;

    PatternPlan intro = base;
    intro.chords = "G Em C D";
    intro.arpStyle = ArpStyle::UpDown;
    intro.arpInstrument = kPiano;
    intro.arpVolume = 24;
    intro.groove = Groove::None;
    intro.beatsPerMinute = 104;
    PatternPlan pa1 = base, pa2 = base;
    pa1.chords = "G Em C D";
    pa1.melody = a1;
    pa2.chords = "G G Bm Bm C D G G";
    pa2.melody = a2;
    PatternPlan pa1b = pa1, pa2b = pa2;
    pa1b.groove = pa2b.groove = Groove::Full;
    pa1b.bassStyle = pa2b.bassStyle = BassStyle::Bounce;
    pa1b.arpStyle = pa2b.arpStyle = ArpStyle::Eighths;
    pa1b.arpInstrument = pa2b.arpInstrument = kMarimba;
    pa1b.counter = "r/8 b6/8 | r/8 g6/8 | r/8 e6/8 | r/8 f#6/8";
    pa2b.counter = "r/8 d7/8 | r/8 b6/8 | r/8 a6/8 | g6/16";
    PatternPlan ch1 = base, ch2 = base;
    ch1.chords = "C D Bm Em";
    ch1.melody = c1;
    ch1.melodyInstrument = kBell;
    ch1.melodyVolume = 56;
    ch1.chordStyle = ChordStyle::PianoBroken;
    ch1.groove = Groove::Full;
    ch1.bassStyle = BassStyle::Bounce;
    ch1.counter = "c5/16 | d5/16 | d5/16 | e5/16";
    ch1.counterInstrument = kFlute;
    ch1.counterVolume = 28;
    ch2 = ch1;
    ch2.chords = "Am D G D";
    ch2.melody = c2;
    ch2.counter = "c5/16 | c5/16 | b4/16 | a4/16";
    ch2.fill = true;
    PatternPlan brk1 = base, brk2 = base;
    brk1.chords = "Em C G D";
    brk1.arpStyle = ArpStyle::UpDown;
    brk1.arpInstrument = kBell;
    brk1.arpVolume = 20;
    brk1.groove = Groove::None;
    brk1.counter = "b5/16 | g5/16 | d6/16 | a5/16";
    brk1.counterInstrument = kFlute;
    brk1.counterVolume = 38;
    brk2 = brk1;
    brk2.chords = "Em C Am D";
    brk2.groove = Groove::Shaker;
    brk2.counter = "b5/16 | c6/16 | e6/16 | f#6/16";
    PatternPlan out1 = intro, out2 = intro;
    out1.beatsPerMinute = out2.beatsPerMinute = 0;
    out2.chords = "C D G G";
    out2.groove = Groove::Light;
    out1.groove = Groove::Light;

    int pIntro = addPattern(m, intro), pA1 = addPattern(m, pa1), pA2 = addPattern(m, pa2);
    int pA1b = addPattern(m, pa1b), pA2b = addPattern(m, pa2b), pCh1 = addPattern(m, ch1);
    int pCh2 = addPattern(m, ch2), pBrk1 = addPattern(m, brk1), pBrk2 = addPattern(m, brk2);
    int pOut1 = addPattern(m, out1), pOut2 = addPattern(m, out2);
    layOut(m, kMusicSections[2],
           {pIntro, pA1, pA2, pA1b, pA2b, pCh1, pCh2, pBrk1, pBrk2, pA1b, pA2b, pCh1, pCh2, pOut1, pOut2},
           62);
}

// The level map: pastoral and calm, A major, nylon strings and flute.
void mapTheme(xm::Module& m) {
    PatternPlan base;
    base.melodyInstrument = kFlute;
    base.melodyVolume = 44;
    base.chordStyle = ChordStyle::Pad;
    base.chordCentre = 61;
    base.arpStyle = ArpStyle::UpDown;
    base.arpInstrument = kGuitar;
    base.arpVolume = 32;
    base.bassStyle = BassStyle::Long;
    base.groove = Groove::Shaker;
    // Three long patterns of eight bars: each phrase is answered before the next begins.
    PatternPlan m1 = base, m1b = base, m2 = base, m2b = base, m3 = base, m3b = base;
    m1.chords = "A F#m D E";
    m1.melody = "e5/8 c#5/4 e5/4 | f#5/8 a5/4 f#5/4 | a5/6 f#5/2 d5/8 | e5/12 r/4";
    m1.beatsPerMinute = 88;
    m1b.chords = "A F#m Bm E";
    m1b.melody = "c#6/8 b5/4 a5/4 | a5/8 f#5/4 c#5/4 | d5/4 f#5/4 b5/6 a5/2 | g#5/12 r/4";
    m1b.counter = "r/8 e6/8 | r/8 c#6/8 | r/8 d6/8 | r/8 b5/8";
    m1b.counterVolume = 22;
    m2.chords = "A C#m D E";
    m2.melody = "c#6/8 b5/4 a5/4 | g#5/8 e5/8 | f#5/4 a5/4 d6/4 c#6/4 | b5/12 r/4";
    m2.counter = "r/8 e6/8 | r/8 g#6/8 | r/8 a6/8 | r/8 g#6/8";
    m2.counterVolume = 24;
    m2b.chords = "F#m C#m D A";
    m2b.melody = "a5/6 b5/2 c#6/8 | g#5/6 e5/2 c#5/8 | d5/4 f#5/4 a5/4 f#5/4 | e5/16";
    m2b.arpStyle = ArpStyle::Eighths;
    m3.chords = "D D E E C#m F#m D E";
    m3.melody = "a5/4 f#5/4 d5/8 | e5/4 g#5/4 b5/8 | c#6/8 a5/8 | f#5/8 e5/8";
    m3.groove = Groove::Light;
    m3b.chords = "Bm E A A";
    m3b.melody = "d5/4 f#5/4 b5/8 | b5/6 a5/2 g#5/8 | a5/16 | r/8 e5/4 c#5/4";
    m3b.counter = "f#6/16 | e6/16 | c#6/16 | r/16";
    m3b.counterVolume = 22;
    int p1 = addLongPattern(m, {m1, m1b}), p2 = addLongPattern(m, {m2, m2b}),
        p3 = addLongPattern(m, {m3, m3b});
    layOut(m, kMusicSections[3], {p1, p2, p3}, 43);
}

// Level music four: lively, E minor, soft square lead over offbeat piano and a driving bass.
void levelFour(xm::Module& m) {
    const char* d1 = "e5/3 g5/3 b5/2 a5/4 g5/4 | e5/3 g5/3 c6/2 b5/4 g5/4 | d5/3 g5/3 b5/2 d6/4 b5/4 | "
                     "a5/8 f#5/4 d5/4";
    const char* d2 = "e5/3 g5/3 b5/2 a5/4 g5/4 | e6/6 d6/2 c6/4 g5/4 | a5/4 c6/4 e6/4 c6/4 | "
                     "b5/4 a5/2 g5/2 f#5/4 d#5/4";
    const char* c1 = "c6/6 b5/2 a5/4 e5/4 | f#5/6 g5/2 a5/8 | b5/6 a5/2 g5/4 d5/4 | e5/12 g5/2 b5/2";
    const char* c2 = "c6/6 b5/2 c6/4 e6/4 | e6/6 d6/2 c6/4 a5/4 | b5/8 d#6/4 f#6/4 | f#6/8 e6/4 d#6/4";
    PatternPlan base;
    base.melodyInstrument = kLead;
    base.melodyVolume = 44;
    base.chordStyle = ChordStyle::PianoOffbeat;
    base.chordCentre = 62;
    base.bassStyle = BassStyle::Drive;
    base.groove = Groove::Drive;

    PatternPlan intro = base;
    intro.chords = "Em C G D";
    intro.beatsPerMinute = 124;
    intro.groove = Groove::Full;
    PatternPlan intro2 = base;
    intro2.chords = "Em C G D";
    intro2.arpStyle = ArpStyle::Sixteenths;
    intro2.arpInstrument = kMarimba;
    intro2.arpVolume = 18;
    intro2.fill = true;
    PatternPlan pd1 = base, pd2 = base, pc1 = base, pc2 = base;
    pd1.chords = "Em C G D";
    pd1.melody = d1;
    pd2.chords = "Em C Am B";
    pd2.melody = d2;
    PatternPlan pd1b = pd1, pd2b = pd2;
    pd1b.counter = pd2b.counter =
        "r/4 b6/4 r/4 g6/4 | r/4 e6/4 r/4 g6/4 | r/4 d6/4 r/4 b6/4 | r/4 a6/4 r/4 f#6/4";
    pd2b.counter = "r/4 b6/4 r/4 g6/4 | r/4 e6/4 r/4 g6/4 | r/4 c7/4 r/4 a6/4 | r/4 b6/4 r/4 d#7/4";
    pd1b.counterVolume = pd2b.counterVolume = 24;
    pd1b.arpStyle = pd2b.arpStyle = ArpStyle::Sixteenths;
    pd1b.arpInstrument = pd2b.arpInstrument = kMarimba;
    pd1b.arpVolume = pd2b.arpVolume = 16;
    pc1.chords = "Am D G Em";
    pc1.melody = c1;
    pc1.melodyInstrument = kPiano;
    pc1.melodyVolume = 58;
    pc1.counter = "c5/16 | a4/16 | b4/16 | g4/16";
    pc1.counterInstrument = kLead;
    pc1.counterVolume = 26;
    pc1.chordStyle = ChordStyle::Pad;
    pc2 = pc1;
    pc2.chords = "C Am B B7";
    pc2.melody = c2;
    pc2.counter = "e5/16 | c5/16 | d#5/16 | a4/16";
    pc2.fill = true;
    PatternPlan brk1 = base, brk2 = base;
    brk1.chords = "C G D Em";
    brk1.chordStyle = ChordStyle::Pad;
    brk1.groove = Groove::HalfTime;
    brk1.bassStyle = BassStyle::Long;
    brk1.arpStyle = ArpStyle::UpDown;
    brk1.arpInstrument = kBell;
    brk1.arpVolume = 18;
    brk1.counter = "e5/16 | d5/16 | f#5/16 | g5/16";
    brk1.counterInstrument = kFlute;
    brk1.counterVolume = 34;
    brk2 = brk1;
    brk2.chords = "C G Am B";
    brk2.counter = "e5/16 | d5/16 | e5/16 | d#5/16";
    brk2.fill = true;
    PatternPlan outro = intro2;
    outro.fill = true;
    outro.arpVolume = 14;

    int pIntro = addPattern(m, intro), pIntro2 = addPattern(m, intro2), pD1 = addPattern(m, pd1);
    int pD2 = addPattern(m, pd2), pD1b = addPattern(m, pd1b), pD2b = addPattern(m, pd2b);
    int pC1 = addPattern(m, pc1), pC2 = addPattern(m, pc2), pBrk1 = addPattern(m, brk1);
    int pBrk2 = addPattern(m, brk2), pOut = addPattern(m, outro);
    layOut(
        m, kMusicSections[4],
        {pIntro, pIntro2, pD1, pD2, pD1b, pD2b, pC1, pC2, pBrk1, pBrk2, pD1b, pD2b, pC1, pC2, pIntro2, pOut},
        51);
}

void setTempo(xm::Pattern& p, int beatsPerMinute) {
    p.at(0, kKickChannel).effect = xm::kEffectSpeed;
    p.at(0, kKickChannel).param = uint8_t(beatsPerMinute);
    p.at(0, kSnareChannel).effect = xm::kEffectSpeed;
    p.at(0, kSnareChannel).param = 6;
}

// The held pad of a jingle sinks step by step at the start of its tail, so the tail sits quietly
// under the page that follows; repeats of the tail keep the lower level.
void settlePad(xm::Pattern& p, int fromVolume, int toVolume) {
    for (int step = 0; step < 8; ++step) {
        int volume = fromVolume + (toVolume - fromVolume) * (step + 1) / 8;
        for (int channel = kChordChannel1; channel <= kChordChannel3; ++channel)
            p.at(step * 2, channel).volume = uint8_t(0x10 + volume);
    }
}

void chordAt(xm::Pattern& p, int row, std::initializer_list<int> notes, uint8_t instrument, int volume) {
    int channel = kChordChannel1;
    for (int n : notes) putNote(p, row, channel++, n, instrument, volume);
}

// Level complete: a rising run into a bright C major chord, then a quiet shimmer that can repeat.
void completeJingle(xm::Module& m) {
    int jingle = addEmptyPattern(m, 32);
    xm::Pattern& p = m.patterns[size_t(jingle)];
    setTempo(p, 120);
    writeLine(p, kMelodyChannel, 0, "c5/2 e5/2 g5/2 c6/2 a5/2 c6/2 b5/2 d6/2 e6/16", kMarimba, 54);
    writeLine(p, kCounterChannel, 0, "r/16 c6/4 e6/4 g6/4 c7/4", kBell, 30);
    writeLine(p, kArpChannel, 16, "g5/16", kPiano, 34);
    chordAt(p, 0, {60, 64, 67}, kPad, 28);
    chordAt(p, 8, {65, 69, 72}, kPad, 28);
    chordAt(p, 12, {67, 71, 74}, kPad, 28);
    chordAt(p, 16, {60, 64, 67}, kPad, 30);
    writeLine(p, kBassChannel, 0, "c3/8 f2/4 g2/4 c2/16", kBass, 52);
    putNote(p, 16, kKickChannel, 60, kKick, 50);
    putNote(p, 16, kSnareChannel, 60, kClap, 34);
    for (int r = 0; r < 16; r += 2) putNote(p, r, kHatChannel, 60, kShaker, r % 4 ? 16 : 24);

    placeInStereo(p);
    int tail = addEmptyPattern(m, 64);
    writeLine(m.patterns[size_t(tail)], kCounterChannel, 0, "r/8 g5/8 e6/12 c6/4 r/8 d6/8 g5/16", kBell, 16);
    settlePad(m.patterns[size_t(tail)], 30, 11);
    layOut(m, kMusicSections[5], {jingle, tail});
    // The tail repeats on its own so the jingle plays once, however long the page stays open.
    m.patterns[size_t(tail)].at(63, kHatChannel).param = uint8_t(kMusicSections[5].firstOrder + 1);
}

// Defeat: a slow falling line in A minor that settles on a soft chord, then a quiet tail.
void defeatJingle(xm::Module& m) {
    int jingle = addEmptyPattern(m, 32);
    xm::Pattern& p = m.patterns[size_t(jingle)];
    setTempo(p, 84);
    writeLine(p, kMelodyChannel, 0, "e5/3 d5/3 c5/2 b4/4 c5/2 b4/2 a4/4 g#4/4 a4/8", kPiano, 46);
    chordAt(p, 0, {57, 60, 64}, kPad, 26);
    chordAt(p, 8, {53, 57, 60}, kPad, 26);
    chordAt(p, 16, {50, 53, 57}, kPad, 26);
    chordAt(p, 20, {52, 56, 59}, kPad, 26);
    chordAt(p, 24, {57, 60, 64}, kPad, 24);
    writeLine(p, kBassChannel, 0, "a2/8 f2/8 d2/4 e2/4 a2/8", kBass, 46);
    writeLine(p, kCounterChannel, 24, "a5/8", kBell, 18);

    placeInStereo(p);
    int tail = addEmptyPattern(m, 64);
    writeLine(m.patterns[size_t(tail)], kCounterChannel, 0, "r/16 e5/16 c5/16 a4/16", kBell, 12);
    settlePad(m.patterns[size_t(tail)], 24, 9);
    layOut(m, kMusicSections[6], {jingle, tail});
    m.patterns[size_t(tail)].at(63, kHatChannel).param = uint8_t(kMusicSections[6].firstOrder + 1);
}

} // namespace

xm::Module composeMusic() {
    xm::Module m;
    m.name = "Pebblecraft";
    m.channels = kChannelCount;
    m.ticksPerRow = 6;
    m.beatsPerMinute = 118;
    m.instruments = makeInstruments();
    levelOne(m);
    levelTwo(m);
    menuTheme(m);
    mapTheme(m);
    levelFour(m);
    completeJingle(m);
    defeatJingle(m);
    assert(int(m.orders.size()) == kMusicOrderCount);
    return m;
}

} // namespace music
