#include "xm_writer.h"

#include <cassert>
#include <cmath>
#include <cstring>

namespace xm {

namespace {

struct Writer {
    std::vector<uint8_t> bytes;
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) u8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
};

constexpr uint32_t kInstrumentHeaderSize = 263;
constexpr uint32_t kSampleHeaderSize = 40;

// Packed cell: a flag byte says which of the five fields follow; an empty cell is one byte.
void packCell(Writer& w, const Cell& c) {
    uint8_t flags = 0x80;
    if (c.note) flags |= 0x01;
    if (c.instrument) flags |= 0x02;
    if (c.volume) flags |= 0x04;
    if (c.effect) flags |= 0x08;
    if (c.param) flags |= 0x10;
    w.u8(flags);
    if (c.note) w.u8(c.note);
    if (c.instrument) w.u8(c.instrument);
    if (c.volume) w.u8(c.volume);
    if (c.effect) w.u8(c.effect);
    if (c.param) w.u8(c.param);
}

void writeEnvelopePoints(Writer& w, const Envelope& e) {
    assert(e.points.size() <= 12);
    for (size_t i = 0; i < 12; ++i) {
        w.u16(i < e.points.size() ? e.points[i].first : 0);
        w.u16(i < e.points.size() ? e.points[i].second : 0);
    }
}

} // namespace

std::vector<uint8_t> writeModule(const Module& m) {
    assert(m.channels >= 2 && m.channels <= kMaxChannels && m.channels % 2 == 0);
    assert(!m.orders.empty() && m.orders.size() <= 256);
    assert(m.patterns.size() <= 256 && m.instruments.size() <= 128);
    Writer w;
    w.text("Extended Module: ", 17);
    w.text(m.name, 20);
    w.u8(0x1A);
    w.text("Pebblecraft builder", 20);
    w.u16(0x0104);
    w.u32(276); // header size counted from this field: 20 bytes of fields and the order table
    w.u16(uint16_t(m.orders.size()));
    w.u16(0); // restart position
    w.u16(uint16_t(m.channels));
    w.u16(uint16_t(m.patterns.size()));
    w.u16(uint16_t(m.instruments.size()));
    w.u16(1); // linear frequency table
    w.u16(uint16_t(m.ticksPerRow));
    w.u16(uint16_t(m.beatsPerMinute));
    for (size_t i = 0; i < 256; ++i) w.u8(i < m.orders.size() ? m.orders[i] : 0);

    for (const Pattern& p : m.patterns) {
        assert(p.rows >= 1 && p.rows <= kMaxRows && p.channels == m.channels);
        Writer data;
        for (int r = 0; r < p.rows; ++r)
            for (int c = 0; c < p.channels; ++c) packCell(data, p.at(r, c));
        assert(data.bytes.size() <= 0xFFFF);
        w.u32(9); // pattern header length
        w.u8(0);  // packing type
        w.u16(uint16_t(p.rows));
        w.u16(uint16_t(data.bytes.size()));
        w.bytes.insert(w.bytes.end(), data.bytes.begin(), data.bytes.end());
    }

    for (const Instrument& ins : m.instruments) {
        size_t start = w.bytes.size();
        w.u32(kInstrumentHeaderSize);
        w.text(ins.name, 22);
        w.u8(0);
        w.u16(1); // one sample per instrument
        w.u32(kSampleHeaderSize);
        w.zeros(96); // every note maps to sample 0
        const Envelope& env = ins.volumeEnvelope;
        writeEnvelopePoints(w, env);
        writeEnvelopePoints(w, Envelope{});
        w.u8(uint8_t(env.points.size()));
        w.u8(0);
        w.u8(uint8_t(env.sustainPoint < 0 ? 0 : env.sustainPoint));
        w.u8(0); // volume loop start
        w.u8(0); // volume loop end
        w.u8(0);
        w.u8(0);
        w.u8(0);
        w.u8(uint8_t((env.points.empty() ? 0 : 1) | (env.sustainPoint >= 0 ? 2 : 0)));
        w.u8(0); // panning envelope off
        w.u8(0); // automatic vibrato: sine
        w.u8(ins.vibratoSweep);
        w.u8(ins.vibratoDepth);
        w.u8(ins.vibratoRate);
        w.u16(ins.fadeout);
        w.zeros(start + kInstrumentHeaderSize - w.bytes.size());

        const Sample& s = ins.sample;
        assert(s.loopStart + s.loopLength <= s.data.size());
        w.u32(uint32_t(s.data.size() * 2));
        w.u32(s.loopStart * 2);
        w.u32(s.loopLength * 2);
        w.u8(s.volume);
        w.u8(uint8_t(s.finetune));
        w.u8(uint8_t((s.loopLength ? 1 : 0) | 0x10)); // forward loop, 16-bit
        w.u8(s.panning);
        w.u8(uint8_t(s.relativeNote));
        w.u8(0);
        w.text(ins.name, 22);
        // Sample data is stored as differences between consecutive values.
        int16_t previous = 0;
        for (int16_t v : s.data) {
            w.u16(uint16_t(int16_t(v - previous)));
            previous = v;
        }
    }
    return w.bytes;
}

void tuneSample(Sample& sample, double sampleHz) {
    // With the linear table a sample plays at 8363 Hz times 2^((note - 49 + relative + finetune / 128) / 12);
    // the note is to sound at 261.63 Hz times 2^((note - 49) / 12).
    double semitones = 12.0 * std::log2(44100.0 * 261.6255653 / (8363.0 * sampleHz));
    int relative = int(std::lround(semitones));
    int finetune = int(std::lround((semitones - relative) * 128.0));
    assert(relative >= -96 && relative <= 95 && finetune >= -64 && finetune <= 64);
    sample.relativeNote = int8_t(relative);
    sample.finetune = int8_t(finetune);
}

} // namespace xm
