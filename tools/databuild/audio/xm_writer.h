// An in-memory tracker module and its serialisation in the XM (FastTracker 2, version 1.04) layout,
// which libopenmpt plays whatever the file is called.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xm {

constexpr int kMaxChannels = 32;
constexpr int kMaxRows = 256;
constexpr uint8_t kKeyOff = 97; // note value that releases the instrument

// Effect numbers used by the music (the XM effect column).
enum Effect : uint8_t {
    kEffectNone = 0x0,
    kEffectPortamento = 0x3,
    kEffectVibrato = 0x4,
    kEffectPanning = 0x8, // 0 left .. 255 right
    kEffectVolumeSlide = 0xA,
    kEffectPositionJump = 0xB,
    kEffectSetVolume = 0xC,
    kEffectPatternBreak = 0xD,
    kEffectExtended = 0xE,
    kEffectSpeed = 0xF,         // below 32: ticks per row; 32 and above: beats per minute
    kEffectGlobalVolume = 0x10, // 'G': 0..64
};

struct Cell {
    uint8_t note = 0;       // 1..96 (C-0 = 1, C-4 = 49), kKeyOff, or 0 for none
    uint8_t instrument = 0; // 1-based, 0 for none
    uint8_t volume = 0;     // volume column: 0x10 + 0..64 sets the volume, 0 for none
    uint8_t effect = 0;
    uint8_t param = 0;
};

struct Pattern {
    int rows = 64;
    int channels = 8;
    std::vector<Cell> cells; // rows * channels
    Pattern(int rowCount, int channelCount)
        : rows(rowCount), channels(channelCount), cells(size_t(rowCount * channelCount)) {}
    Cell& at(int row, int channel) { return cells[size_t(row * channels + channel)]; }
    const Cell& at(int row, int channel) const { return cells[size_t(row * channels + channel)]; }
};

struct Envelope {
    std::vector<std::pair<uint16_t, uint16_t>> points; // (tick, value 0..64), at most 12
    int sustainPoint = -1;                             // -1: none
};

struct Sample {
    std::vector<int16_t> data;
    uint32_t loopStart = 0;  // in samples
    uint32_t loopLength = 0; // 0: not looped
    uint8_t volume = 64;
    int8_t finetune = 0;
    int8_t relativeNote = 0;
    uint8_t panning = 128;
};

struct Instrument {
    std::string name;
    Sample sample;
    Envelope volumeEnvelope;  // empty: no envelope
    uint16_t fadeout = 0;     // volume fade after key-off, 0..4095 per tick
    uint8_t vibratoSweep = 0; // automatic vibrato: ticks to reach full depth,
    uint8_t vibratoDepth = 0; // its depth (0..15)
    uint8_t vibratoRate = 0;  // and its speed (0..63)
};

struct Module {
    std::string name;
    int channels = 8;
    int ticksPerRow = 6;
    int beatsPerMinute = 125;
    std::vector<uint8_t> orders; // pattern index per order position
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;
};

// The module as XM bytes. Asserts on values the layout cannot hold.
std::vector<uint8_t> writeModule(const Module& module);

// Relative note and finetune that make a sample recorded at 44100 Hz, whose pitch is `sampleHz`, sound
// at each note's own pitch (C-4 = 261.63 Hz, equal temperament).
void tuneSample(Sample& sample, double sampleHz);

} // namespace xm
