#include "music_instruments.h"

#include "synth.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace music {

namespace {

using namespace synth;

std::vector<int16_t> toPcm(const Buffer& b, float peak = 0.9f) {
    float p = peakOf(b);
    float gain = p > 0 ? peak / p : 0;
    std::vector<int16_t> pcm(b.size());
    for (size_t i = 0; i < b.size(); ++i) pcm[i] = int16_t(std::lround(b[i] * gain * 32767.0f));
    return pcm;
}

// Envelope shapes. Ticks are 1/50 s at the module's usual tempo; the sustain point holds until key-off.
xm::Envelope heldEnvelope(uint16_t attackTicks) {
    xm::Envelope e;
    e.points = {{0, uint16_t(attackTicks ? 0 : 64)}, {uint16_t(std::max<int>(attackTicks, 1)), 64}};
    e.sustainPoint = 1;
    return e;
}

xm::Instrument makeInstrument(const char* name, Buffer b, double sampleHz, uint16_t attackTicks,
                              uint16_t fadeout, bool looped) {
    xm::Instrument ins;
    ins.name = name;
    if (!looped) {
        // One-shot: fade the last milliseconds so the sample always ends on silence.
        int fade = std::min<int>(int(b.size()) / 4, kRate / 50);
        for (int i = 0; i < fade; ++i) b[b.size() - 1 - i] *= float(i) / fade;
    }
    ins.sample.data = toPcm(b);
    if (looped) {
        ins.sample.loopStart = 0;
        ins.sample.loopLength = uint32_t(ins.sample.data.size());
    }
    xm::tuneSample(ins.sample, sampleHz);
    ins.volumeEnvelope = heldEnvelope(attackTicks);
    ins.fadeout = fadeout;
    return ins;
}

// Looped tones are built from whole cycles: `period` samples per cycle, `cycles` cycles in the loop,
// and each detuned voice a whole number of cycles in the same loop, so the loop joins without a click.
Buffer additiveLoop(int period, int cycles, const std::vector<int>& voiceCycles, float (*harmonicGain)(int),
                    int harmonics) {
    int length = period * cycles;
    Buffer b(size_t(length), 0.0f);
    Noise n(0xAB12);
    for (int vc : voiceCycles) {
        for (int k = 1; k <= harmonics; ++k) {
            float g = harmonicGain(k);
            if (g == 0) continue;
            float phase = n.unit() * kTwoPi;
            double step = kTwoPi * double(vc) * k / length;
            for (int i = 0; i < length; ++i) b[size_t(i)] += g * float(std::sin(phase + step * i));
        }
    }
    return b;
}

xm::Instrument piano() {
    // Two-operator FM: the modulation index falls quickly, leaving a warm, bell-tinged tone.
    const float hz = 261.6256f;
    Buffer b = makeBuffer(2.2f);
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        float index = 0.45f + 1.6f * std::exp(-t * 5.0f);
        float mod = std::sin(kTwoPi * hz * t);
        float body = std::sin(kTwoPi * hz * t + index * mod);
        float tine = 0.2f * std::exp(-t * 20.0f) * std::sin(kTwoPi * hz * 14.0f * t);
        b[i] = (body * percussive(t, 0.002f, 2.0f) + tine) * (1.0f - 0.2f * std::exp(-t * 3));
    }
    return makeInstrument("e-piano", b, hz, 0, 0x300, false);
}

xm::Instrument pad() {
    // 168 samples per cycle: 262.5 Hz; three voices 13 cents apart and a quiet sub octave.
    Buffer b = additiveLoop(
        168, 128, {127, 128, 129}, [](int k) { return std::exp(-k / 7.0f) / k; }, 28);
    Buffer sub = additiveLoop(
        168, 128, {64}, [](int k) { return k == 1 ? 0.6f : 0.0f; }, 1);
    for (size_t i = 0; i < b.size(); ++i) b[i] += sub[i];
    return makeInstrument("pad", b, 262.5, 12, 0x180, true);
}

xm::Instrument bass() {
    const float hz = 65.4064f; // C-2
    Buffer b = makeBuffer(2.0f);
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        float v = 0;
        for (int k = 1; k <= 8; ++k)
            v += std::pow(float(k), -1.6f) * std::exp(-t * (0.6f + 2.5f * (k - 1))) *
                 std::sin(kTwoPi * hz * k * t);
        b[i] = v * rampUp(t, 0, 0.004f);
    }
    return makeInstrument("bass", b, hz, 0, 0x600, false);
}

xm::Instrument bell() {
    Buffer b = makeBuffer(2.0f);
    addBell(b, 0, 523.2511f, 1.0f, 1.6f, 0xBE11);
    return makeInstrument("bell", b, 523.2511, 0, 0x200, false);
}

xm::Instrument marimba() {
    const float hz = 523.2511f; // C-5
    Buffer b = makeBuffer(1.0f);
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        b[i] = percussive(t, 0.0015f, 0.7f) * std::sin(kTwoPi * hz * t) +
               0.4f * percussive(t, 0.001f, 0.15f) * std::sin(kTwoPi * hz * 3.93f * t) +
               0.08f * percussive(t, 0.001f, 0.04f) * std::sin(kTwoPi * hz * 9.2f * t);
    }
    return makeInstrument("marimba", b, hz, 0, 0x500, false);
}

xm::Instrument flute() {
    // 84 samples per cycle: 525 Hz, near C-5.
    Buffer b = additiveLoop(
        84, 64, {64},
        [](int k) {
            static const float g[] = {0, 1.0f, 0.3f, 0.15f, 0.08f, 0.04f, 0.02f, 0.01f};
            return g[k];
        },
        7);
    xm::Instrument ins = makeInstrument("flute", b, 525.0, 6, 0x300, true);
    ins.vibratoSweep = 40;
    ins.vibratoDepth = 3;
    ins.vibratoRate = 12;
    return ins;
}

xm::Instrument lead() {
    Buffer b = additiveLoop(
        84, 128, {128, 129}, [](int k) { return (k % 2 ? 1.0f : 0.25f) * std::exp(-k / 6.0f) / k; }, 16);
    xm::Instrument ins = makeInstrument("soft lead", b, 525.0, 3, 0x400, true);
    ins.vibratoSweep = 60;
    ins.vibratoDepth = 2;
    ins.vibratoRate = 10;
    return ins;
}

xm::Instrument guitar() {
    // Plucked string: a softened noise burst circulating in a 168-sample delay line (262.5 Hz).
    const int period = 168;
    Buffer b = makeBuffer(1.6f);
    std::vector<float> line(period);
    Noise n(0x6017);
    OnePole soften;
    for (float& s : line) s = soften.run(n.white(), 2500);
    float previous = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        float& s = line[i % period];
        float out = s;
        s = 0.997f * 0.5f * (s + previous);
        previous = out;
        b[i] = out;
    }
    Biquad body;
    body.lowPass(3200, 0.7f);
    for (size_t i = 0; i < b.size(); ++i) b[i] = body.run(b[i]) * rampUp(seconds(int(i)), 0, 0.002f);
    return makeInstrument("nylon", b, 262.5, 0, 0x400, false);
}

// Drum samples play at their recorded rate on C-4.
constexpr double kDrumHz = 261.6256;

xm::Instrument kick() {
    Buffer b = makeBuffer(0.45f);
    float phase = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        phase += kTwoPi * (48 + 110 * std::exp(-t * 30)) / kRate;
        b[i] = percussive(t, 0.001f, 0.38f) * std::sin(phase);
    }
    addPluck(b, 0, 1200, 0.08f, 0.006f);
    return makeInstrument("kick", b, kDrumHz, 0, 0, false);
}

xm::Instrument snare() {
    Buffer b = makeBuffer(0.35f);
    Noise n(0x5A4E);
    Biquad hp, lp;
    hp.highPass(1200, 0.7f);
    lp.lowPass(7500, 0.7f);
    float phase = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        phase += kTwoPi * (180 + 40 * std::exp(-t * 40)) / kRate;
        b[i] = 0.7f * percussive(t, 0.001f, 0.12f) * std::sin(phase) +
               0.6f * percussive(t, 0.001f, 0.2f) * lp.run(hp.run(n.white()));
    }
    return makeInstrument("snare", b, kDrumHz, 0, 0, false);
}

xm::Instrument noiseDrum(const char* name, float length, float lowHz, float highHz, float attack, float decay,
                         uint32_t seed) {
    Buffer b = makeBuffer(length);
    Noise n(seed);
    Biquad hp, lp;
    hp.highPass(lowHz, 0.7f);
    lp.lowPass(highHz, 0.7f);
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = percussive(seconds(int(i)), attack, decay) * lp.run(hp.run(n.white()));
    return makeInstrument(name, b, kDrumHz, 0, 0, false);
}

xm::Instrument clap() {
    Buffer b = makeBuffer(0.3f);
    Noise n(0xC1A9);
    Biquad band;
    band.bandPass(1300, 1.2f);
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        float env = 0;
        for (int k = 0; k < 3; ++k) env += percussive(t - k * 0.011f, 0.0008f, 0.012f) * (t >= k * 0.011f);
        env += 0.7f * percussive(t - 0.03f, 0.002f, 0.16f);
        b[i] = env * band.run(n.white());
    }
    return makeInstrument("clap", b, kDrumHz, 0, 0, false);
}

// Low notes carry far more energy than they seem to: the bass and the kick are stored quieter so that
// the patterns' volumes mean about the same loudness for every instrument.
void attenuate(xm::Instrument& ins, float gain) {
    for (int16_t& s : ins.sample.data) s = int16_t(std::lround(s * gain));
}

} // namespace

std::vector<xm::Instrument> makeInstruments() {
    std::vector<xm::Instrument> list = {
        piano(),
        pad(),
        bass(),
        bell(),
        marimba(),
        flute(),
        lead(),
        guitar(),
        kick(),
        snare(),
        noiseDrum("hat", 0.14f, 5500, 13000, 0.0005f, 0.06f, 0x4A7),
        noiseDrum("shaker", 0.15f, 4500, 11000, 0.012f, 0.07f, 0x54A),
        clap(),
    };
    assert(list.size() == kInstrumentCount);
    attenuate(list[kBass - 1], 0.45f);
    attenuate(list[kKick - 1], 0.7f);
    return list;
}

} // namespace music
