#include "sound_effects.h"

#include "synth.h"

#include <algorithm>
#include <cmath>

namespace soundeffects {

namespace {

using namespace synth;

// Loudness classes: game events, quiet interface ticks, and the background ambience.
constexpr float kEventRms = 0.24f;
constexpr float kInterfaceRms = 0.17f;
constexpr float kAmbientRms = 0.10f;
constexpr float kPeak = 0.84f; // leaves room for the encoder's small overshoot

// A filtered noise burst added into `out`: band-passed around `hz`, percussive envelope.
void addNoiseHit(Buffer& out, float start, float hz, float q, float gain, float decay, uint32_t seed) {
    Noise n(seed);
    Biquad f;
    f.bandPass(hz, q);
    int first = int(start * kRate), count = int((decay * 1.2f + 0.002f) * kRate);
    for (int i = 0; i < count && first + i < int(out.size()); ++i)
        out[first + i] += gain * percussive(seconds(i), 0.0015f, decay) * f.run(n.white());
}

// A sine thump whose pitch falls from `fromHz` to `toHz`: the body of knocks and explosions.
void addThump(Buffer& out, float start, float fromHz, float toHz, float gain, float decay) {
    int first = int(start * kRate), count = int((decay * 1.2f + 0.003f) * kRate);
    float phase = 0;
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        float t = seconds(i);
        float f = toHz + (fromHz - toHz) * std::exp(-t / (decay * 0.25f));
        phase += kTwoPi * f / kRate;
        out[first + i] += gain * percussive(t, 0.002f, decay) * std::sin(phase);
    }
}

// A rounded "square" tone (odd harmonics rolled off), for the soft brassy refusal and defeat voices.
void addSoftSquare(Buffer& out, float start, float length, float hz, float gain, float vibrato) {
    int first = int(start * kRate), count = int(length * kRate);
    float phase = 0;
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        float t = seconds(i);
        float f = hz * (1.0f + vibrato * std::sin(kTwoPi * 5.5f * t) * rampUp(t, 0.1f, 0.2f));
        phase += kTwoPi * f / kRate;
        float env = rampUp(t, 0, 0.015f) * rampDown(t, length - 0.06f, 0.06f);
        float v = std::sin(phase) + std::sin(3 * phase) / 5 + std::sin(5 * phase) / 14;
        out[first + i] += gain * env * v;
    }
}

// Metal clink with inharmonic partials (chain links).
void addClink(Buffer& out, float start, float hz, float gain, uint32_t seed) {
    static const float kRatio[] = {1.0f, 2.32f, 4.25f, 6.63f};
    static const float kGain[] = {1.0f, 0.5f, 0.25f, 0.08f};
    Noise n(seed);
    int first = int(start * kRate), count = int(0.25f * kRate);
    for (int p = 0; p < 4; ++p) {
        float f = hz * kRatio[p], phase = n.unit() * kTwoPi;
        if (f > 12000) continue;
        for (int i = 0; i < count && first + i < int(out.size()); ++i) {
            float t = seconds(i);
            out[first + i] += gain * kGain[p] * percussive(t, 0.001f, 0.16f / (1 + p * 0.5f)) *
                              std::sin(phase + kTwoPi * f * t);
        }
    }
    addNoiseHit(out, start, 6000, 1.0f, gain * 0.5f, 0.01f, seed + 7);
}

// Airy noise swell that rises through the spectrum: sweeps and whooshes. The top is rolled off so the
// air stays soft rather than hissing.
void addWhoosh(Buffer& out, float start, float length, float fromHz, float toHz, float gain, uint32_t seed) {
    Noise n(seed);
    Biquad f, soft;
    soft.lowPass(7000, 0.7f);
    toHz = std::min(toHz, 6500.0f);
    int first = int(start * kRate), count = int(length * kRate);
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        float u = float(i) / count;
        if (i % 32 == 0) f.bandPass(fromHz * std::pow(toHz / fromHz, u), 1.2f);
        float env = std::sin(kPi * u) * std::sin(kPi * u);
        out[first + i] += gain * env * soft.run(f.run(n.white()));
    }
}

Buffer selectBall() {
    Buffer b = makeBuffer(0.2f);
    addGlide(b, 0, 0.07f, 520, 980, 0.7f);
    addBell(b, 0.004f, 1480, 0.45f, 0.12f, 11);
    return b;
}

Buffer selectAim() {
    Buffer b = makeBuffer(0.25f);
    addWhoosh(b, 0, 0.09f, 900, 3500, 0.3f, 21);
    addPluck(b, 0.0f, 784, 0.45f, 0.08f);
    addPluck(b, 0.055f, 1175, 0.5f, 0.11f);
    return b;
}

Buffer ballStand() {
    Buffer b = makeBuffer(0.16f);
    addThump(b, 0, 230, 140, 0.8f, 0.07f);
    addNoiseHit(b, 0, 720, 6.0f, 1.6f, 0.05f, 31); // hollow wooden body
    addNoiseHit(b, 0, 2600, 1.5f, 0.5f, 0.008f, 32);
    return b;
}

Buffer ballPop() {
    Buffer b = makeBuffer(0.35f);
    addGlide(b, 0, 0.08f, 380, 1250, 0.8f);
    addBell(b, 0.03f, 1660, 0.4f, 0.22f, 41);
    addNoiseHit(b, 0, 3000, 1.0f, 0.35f, 0.012f, 42);
    return b;
}

Buffer explosion(float seconds, float thumpHz, float brightHz, int bursts, uint32_t seed) {
    Buffer b = makeBuffer(seconds);
    Noise n(seed);
    for (int k = 0; k < bursts; ++k) {
        float start = k * 0.11f, gain = k == 0 ? 1.0f : 0.75f;
        Biquad low, rumbleFilter;
        rumbleFilter.lowPass(140, 0.7f);
        float brown = 0;
        int first = int(start * kRate);
        for (int i = first; i < int(b.size()); ++i) {
            float t = synth::seconds(i - first);
            if ((i - first) % 64 == 0) low.lowPass(160 + brightHz * std::exp(-t * 3.0f), 0.7f);
            float w = n.white();
            brown = 0.995f * brown + 0.05f * w; // deep rumble under the blast
            float blast = low.run(w) * percussive(t, 0.004f, seconds * 0.8f);
            float rumble = rumbleFilter.run(brown) * percussive(t, 0.03f, seconds * 1.6f);
            b[i] += gain * (1.2f * blast + 3.0f * rumble);
        }
        addThump(b, start, thumpHz * 2.2f, thumpHz, 1.1f * gain, seconds * 0.5f);
    }
    // Sparse crackle of debris, kept low and softened.
    Biquad soft;
    soft.lowPass(5000, 0.7f);
    for (int k = 0; k < 30; ++k) {
        float t = 0.05f + n.unit() * seconds * 0.5f;
        addNoiseHit(b, t, n.range(1500, 4000), 2.0f, 0.2f * std::exp(-t * 3), 0.012f, seed + 100 + k);
    }
    for (float& s : b) s = soft.run(s);
    return b;
}

Buffer diamond() {
    Buffer b = makeBuffer(1.1f);
    const float notes[] = {88, 92, 95, 100, 104}; // E6 G#6 B6 E7 G#7
    for (int i = 0; i < 5; ++i) addBell(b, i * 0.045f, noteHz(notes[i]), 0.5f, 0.7f, 51 + i);
    addWhoosh(b, 0, 0.6f, 4000, 9000, 0.2f, 57);
    return b;
}

Buffer diamondZap() {
    Buffer b = makeBuffer(0.95f);
    Noise n(61);
    float phase = 0, modPhase = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i)), u = t / 0.9f;
        float f = 500 * std::pow(5.0f, std::min(u, 1.0f));
        modPhase += kTwoPi * f * 1.5f / kRate;
        phase += kTwoPi * f / kRate + 0.9f * std::sin(modPhase) * kTwoPi * 30 / kRate;
        float env =
            rampUp(t, 0, 0.05f) * std::max(0.0f, 1.0f - u) * (0.7f + 0.3f * std::sin(kTwoPi * 18 * t));
        b[i] += 0.5f * env * std::sin(phase + 1.2f * std::sin(modPhase));
    }
    for (int k = 0; k < 14; ++k) addBell(b, k * 0.05f, noteHz(84 + (k * 7) % 17), 0.18f, 0.2f, 62 + k);
    addWhoosh(b, 0, 0.8f, 2000, 8000, 0.3f, 80);
    return b;
}

Buffer chain() {
    Buffer b = makeBuffer(0.45f);
    addClink(b, 0, 1850, 0.6f, 71);
    addClink(b, 0.085f, 2140, 0.45f, 72);
    addClink(b, 0.15f, 1700, 0.25f, 73);
    return b;
}

Buffer square() {
    Buffer b = makeBuffer(0.35f);
    addNoiseHit(b, 0, 420, 3.0f, 1.2f, 0.09f, 81);
    addNoiseHit(b, 0, 980, 5.0f, 1.0f, 0.07f, 82);
    addNoiseHit(b, 0.004f, 3200, 1.5f, 0.4f, 0.02f, 83);
    addThump(b, 0, 190, 120, 0.5f, 0.09f);
    addBell(b, 0.01f, 2350, 0.15f, 0.1f, 84);
    return b;
}

Buffer addBall() {
    Buffer b = makeBuffer(0.25f);
    addGlide(b, 0, 0.06f, 330, 640, 0.55f);
    addGlide(b, 0.06f, 0.07f, 470, 900, 0.5f);
    return b;
}

Buffer addBonus() {
    Buffer b = makeBuffer(0.8f);
    const float notes[] = {84, 88, 91, 96}; // C6 E6 G6 C7
    for (int i = 0; i < 4; ++i) addBell(b, i * 0.06f, noteHz(notes[i]), 0.5f, 0.45f, 91 + i);
    addWhoosh(b, 0, 0.4f, 3000, 9000, 0.15f, 95);
    return b;
}

Buffer getHammer() {
    Buffer b = makeBuffer(1.0f);
    float phase = 0;
    int rise = int(0.32f * kRate);
    for (int i = 0; i < rise; ++i) {
        float u = float(i) / rise;
        phase += kTwoPi * (260 * std::pow(4.0f, u)) / kRate;
        float v = std::sin(phase) + std::sin(3 * phase) / 6 + std::sin(2 * phase) / 4;
        b[i] += 0.35f * v * rampUp(u, 0, 0.1f) * (0.6f + 0.4f * u) * rampDown(u, 0.88f, 0.12f);
    }
    addBell(b, 0.3f, noteHz(91), 0.6f, 0.6f, 101); // G6
    addBell(b, 0.3f, noteHz(98), 0.4f, 0.5f, 102); // D7
    addBell(b, 0.3f, noteHz(79), 0.3f, 0.6f, 103); // G5
    return b;
}

Buffer hammer() {
    Buffer b = makeBuffer(0.55f);
    addThump(b, 0, 150, 62, 1.0f, 0.2f);
    addNoiseHit(b, 0, 520, 4.0f, 1.8f, 0.07f, 111);
    addNoiseHit(b, 0, 2400, 1.2f, 0.7f, 0.018f, 112);
    Noise n(113);
    for (int k = 0; k < 8; ++k)
        addNoiseHit(b, 0.04f + n.unit() * 0.25f, n.range(2000, 5000), 3.0f, 0.2f, 0.008f, 114 + k);
    return b;
}

Buffer deleteBalls() {
    Buffer b = makeBuffer(1.7f);
    addWhoosh(b, 0, 1.2f, 250, 6000, 0.9f, 121);
    Noise n(122);
    const int pentatonic[] = {0, 2, 4, 7, 9};
    for (int k = 0; k < 22; ++k) {
        float t = 0.05f + k * 0.045f + n.unit() * 0.02f;
        float note = 72 + 12 * float(k / 8) + pentatonic[(k * 3) % 5];
        addBell(b, t, noteHz(note), 0.25f, 0.35f, 123 + k);
    }
    addThump(b, 0, 110, 55, 0.5f, 0.4f);
    return b;
}

Buffer excellent() {
    Buffer b = makeBuffer(1.5f);
    const float notes[] = {72, 76, 79}; // C5 E5 G5 then the chord above
    for (int i = 0; i < 3; ++i) addPluck(b, i * 0.08f, noteHz(notes[i]), 0.35f, 0.25f);
    const float chord[] = {84, 88, 91, 96};
    for (int i = 0; i < 4; ++i) addBell(b, 0.24f, noteHz(chord[i]), 0.35f, 1.0f, 131 + i);
    addWhoosh(b, 0.2f, 0.9f, 4000, 10000, 0.2f, 136);
    return b;
}

Buffer score() {
    Buffer b = makeBuffer(0.09f);
    addPluck(b, 0, 1320, 0.6f, 0.05f);
    addBell(b, 0, 2640, 0.2f, 0.04f, 141);
    return b;
}

Buffer levelComplete() {
    Buffer b = makeBuffer(2.4f);
    const float run[] = {72, 76, 79, 84}; // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i) {
        addPluck(b, i * 0.12f, noteHz(run[i]), 0.4f, 0.3f);
        addBell(b, i * 0.12f, noteHz(run[i] + 12), 0.15f, 0.3f, 151 + i);
    }
    const float chord[] = {60, 64, 67, 72, 76};
    for (int i = 0; i < 5; ++i) addPluck(b, 0.5f + i * 0.012f, noteHz(chord[i]), 0.3f, 1.2f);
    for (int i = 0; i < 3; ++i) addBell(b, 0.5f + i * 0.1f, noteHz(91 + i * 5), 0.22f, 1.0f, 156 + i);
    addWhoosh(b, 0.45f, 1.3f, 3000, 10000, 0.15f, 159);
    return b;
}

Buffer levelDefeat() {
    Buffer b = makeBuffer(1.7f);
    addSoftSquare(b, 0.0f, 0.26f, noteHz(67), 0.35f, 0);
    addSoftSquare(b, 0.28f, 0.26f, noteHz(66), 0.35f, 0);
    addSoftSquare(b, 0.56f, 0.26f, noteHz(65), 0.35f, 0);
    addSoftSquare(b, 0.84f, 0.8f, noteHz(64), 0.35f, 0.012f);
    // Muffle it: the defeat voice should sound gentle, not harsh.
    Biquad soft;
    soft.lowPass(1800, 0.7f);
    for (float& s : b) s = soft.run(s);
    return b;
}

Buffer defeat() {
    Buffer b = makeBuffer(1.5f);
    const float chord[] = {57, 60, 64}; // A minor, low and soft
    for (int i = 0; i < 3; ++i) addPluck(b, i * 0.03f, noteHz(chord[i]), 0.35f, 1.1f);
    addBell(b, 0.0f, noteHz(76), 0.2f, 0.6f, 171);
    addBell(b, 0.22f, noteHz(72), 0.2f, 0.6f, 172);
    addBell(b, 0.44f, noteHz(69), 0.2f, 0.8f, 173);
    return b;
}

Buffer addLife() {
    Buffer b = makeBuffer(1.0f);
    const float notes[] = {79, 84, 88, 91, 96}; // G5 C6 E6 G6 C7
    for (int i = 0; i < 5; ++i) {
        addPluck(b, i * 0.055f, noteHz(notes[i]), 0.35f, 0.15f);
        addBell(b, i * 0.055f, noteHz(notes[i]), 0.2f, 0.5f, 181 + i);
    }
    addWhoosh(b, 0.2f, 0.6f, 5000, 11000, 0.12f, 187);
    return b;
}

Buffer timeUp() {
    Buffer b = makeBuffer(0.13f);
    addPluck(b, 0, 1760, 0.5f, 0.05f);
    addNoiseHit(b, 0, 3500, 2.0f, 0.4f, 0.006f, 191);
    return b;
}

Buffer menuClick() {
    Buffer b = makeBuffer(0.15f);
    addNoiseHit(b, 0, 1800, 4.0f, 1.0f, 0.025f, 201);
    addPluck(b, 0, 988, 0.4f, 0.07f);
    return b;
}

Buffer menuHover() {
    Buffer b = makeBuffer(0.07f);
    addNoiseHit(b, 0, 2800, 5.0f, 0.8f, 0.012f, 211);
    addPluck(b, 0, 1568, 0.25f, 0.025f);
    return b;
}

Buffer chpok() {
    Buffer b = makeBuffer(0.1f);
    addGlide(b, 0, 0.045f, 260, 880, 0.9f);
    addNoiseHit(b, 0, 1500, 2.0f, 0.5f, 0.01f, 221);
    return b;
}

Buffer gaf() {
    Buffer b = makeBuffer(0.4f);
    addSoftSquare(b, 0, 0.13f, 233, 0.4f, 0);
    addSoftSquare(b, 0.15f, 0.2f, 185, 0.4f, 0);
    Biquad soft;
    soft.lowPass(1400, 0.7f);
    for (float& s : b) s = soft.run(s);
    return b;
}

Buffer wow() {
    Buffer b = makeBuffer(1.2f);
    const float notes[] = {72, 74, 76, 79, 81, 84, 86, 88, 91};
    for (int i = 0; i < 9; ++i) addBell(b, i * 0.035f, noteHz(notes[i]), 0.3f, 0.5f, 231 + i);
    addWhoosh(b, 0, 0.7f, 800, 8000, 0.35f, 241);
    return b;
}

// One bird call: a chirp whose pitch moves between two frequencies with a little warble.
void addChirp(Buffer& out, float start, float length, float fromHz, float toHz, float gain) {
    int first = int(start * kRate), count = int(length * kRate);
    float phase = 0;
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        float u = float(i) / count;
        float f = fromHz + (toHz - fromHz) * (0.5f - 0.5f * std::cos(kPi * u));
        f *= 1.0f + 0.03f * std::sin(kTwoPi * 60 * seconds(i));
        phase += kTwoPi * f / kRate;
        float env = std::sin(kPi * u);
        out[first + i] += gain * env * env * std::sin(phase);
    }
}

Buffer birds(int kind) {
    Buffer b = makeBuffer(1.9f);
    Noise n(250 + kind);
    if (kind == 1) {
        for (int k = 0; k < 3; ++k) addChirp(b, 0.1f + k * 0.16f, 0.07f, 2900, 4400, 0.5f);
        addChirp(b, 0.7f, 0.18f, 4200, 3000, 0.4f);
    } else if (kind == 2) {
        for (int k = 0; k < 9; ++k)
            addChirp(b, 0.1f + k * 0.075f, 0.05f, k % 2 ? 3300 : 3900, k % 2 ? 3700 : 3400, 0.45f);
        addChirp(b, 0.85f, 0.12f, 3000, 4600, 0.4f);
    } else {
        addChirp(b, 0.1f, 0.22f, 2100, 2700, 0.5f);
        addChirp(b, 0.36f, 0.3f, 2600, 3400, 0.5f);
        addChirp(b, 1.0f, 0.1f, 3600, 3000, 0.25f); // a second bird answering, further away
        addChirp(b, 1.15f, 0.1f, 3600, 3000, 0.2f);
    }
    return b;
}

// Running water: low-passed pink noise with a slow surge; long soft edges so that repeats overlap.
Buffer waterfall(uint32_t seed) {
    Buffer b = makeBuffer(3.4f);
    Noise n(seed);
    PinkNoise pink;
    Biquad low, low2;
    low.lowPass(1400, 0.6f);
    low2.lowPass(5000, 0.5f);
    for (size_t i = 0; i < b.size(); ++i) {
        float t = seconds(int(i));
        float w = n.white();
        float surge = 0.8f + 0.12f * std::sin(kTwoPi * 0.7f * t) + 0.08f * std::sin(kTwoPi * 1.9f * t + 1);
        b[i] = surge * (low.run(pink.run(w)) * 2.0f + 0.12f * low2.run(w));
    }
    return b;
}

Buffer brook(uint32_t seed) {
    Buffer b = makeBuffer(3.5f);
    Noise n(seed);
    Biquad band;
    band.bandPass(900, 0.7f);
    for (float& s : b) s = 0.35f * band.run(n.white());
    for (int k = 0; k < 34; ++k) {
        float t = 0.1f + n.unit() * 3.2f;
        float f = n.range(380, 1100);
        addGlide(b, t, n.range(0.02f, 0.05f), f, f * n.range(1.4f, 2.0f), n.range(0.12f, 0.3f));
    }
    return b;
}

Buffer scaled(Buffer b, float gain) {
    for (float& s : b) s *= gain;
    return b;
}

struct Recipe {
    const char* fileName;
    Buffer (*make)();
    float rms;
    float fadeOutMs;
    float fadeInMs = 4.0f;
    Buffer (*makeRight)() = nullptr; // ambience is stereo: its right channel, the left being `make`
};

const Recipe kRecipes[] = {
    {"selectball.ogg", selectBall, kEventRms, 10}, // a ball is picked up: glassy rising tink
    {"selectaim.ogg", selectAim, kEventRms, 10},   // the ball sets off: soft swish and two plucks
    {"ballstand.ogg", ballStand, kEventRms, 10},   // the ball lands: hollow wooden knock
    {"ball.ogg", ballPop, kEventRms, 20},          // a ball pops (played higher with the combo)
    {"bomb1.ogg", [] { return explosion(1.3f, 55, 3200, 1, 301); }, kEventRms, 300}, // triple bomb
    // quadro bomb: deeper, with a second blast
    {"bomb2.ogg", [] { return explosion(1.9f, 42, 3800, 2, 302); }, kEventRms, 400},
    {"diamond.ogg", diamond, kEventRms, 60},         // a diamond pops: bell cascade
    {"diamond0.ogg", diamondZap, kEventRms, 60},     // the diamond's lightning marks balls
    {"chain.ogg", chain, kEventRms, 30},             // a chain breaks: metal links
    {"square.ogg", square, kEventRms, 30},           // a busy square cracks
    {"addball.ogg", addBall, kInterfaceRms, 15},     // new balls appear: heard after most moves, so kept soft
    {"addbonus.ogg", addBonus, kEventRms, 50},       // a bonus piece is earned
    {"gethammer.ogg", getHammer, kEventRms, 60},     // the hammer is charged
    {"hammer.ogg", hammer, kEventRms, 40},           // a hammer blow
    {"deleteballs.ogg", deleteBalls, kEventRms, 80}, // the whole board clears
    {"excellent.ogg", excellent, kEventRms, 80},     // a big or special match
    {"score.ogg", score, kInterfaceRms, 10},         // count-up blip, every 100 ms at changing rates
    {"levelcomplete.ogg", levelComplete, kEventRms, 100}, // in C major, like the music's jingle that follows
    {"level_defeat.ogg", levelDefeat, kEventRms, 80},  // falling "wah-wah", ending on the defeat jingle's E
    {"defeat.ogg", defeat, kEventRms, 100},            // the defeat page opens
    {"addlife.ogg", addLife, kEventRms, 60},           // an extra life
    {"timeup.ogg", timeUp, kInterfaceRms, 10},         // time running out, every 400 ms
    {"menu.ogg", menuClick, kInterfaceRms, 10},        // a button or key activates
    {"menu2.ogg", menuHover, kInterfaceRms * 0.8f, 8}, // hovering over an item: the quietest tick
    {"chpok1.ogg", chpok, kInterfaceRms, 8},           // the sound-volume slider moves
    {"gaf.ogg", gaf, kInterfaceRms, 20},               // a refused action: low two-note bonk
    {"wow.ogg", wow, kEventRms, 60},                   // a record row lights up
    // Each bird calls from its own side; the water is wide, from two streams of noise.
    {"birds1.ogg", [] { return birds(1); }, kAmbientRms, 40, 2, [] { return scaled(birds(1), 0.55f); }},
    {"birds2.ogg", [] { return scaled(birds(2), 0.8f); }, kAmbientRms, 40, 2, [] { return birds(2); }},
    {"birds3.ogg", [] { return scaled(birds(3), 0.5f); }, kAmbientRms, 40, 2, [] { return birds(3); }},
    {"waterfall.ogg", [] { return waterfall(261); }, kAmbientRms, 400, 400, [] { return waterfall(262); }},
    {"brook.ogg", [] { return brook(271); }, kAmbientRms, 400, 400, [] { return brook(272); }},
};

} // namespace

std::vector<SoundEffect> makeAllSounds() {
    std::vector<SoundEffect> sounds;
    for (const Recipe& r : kRecipes) {
        Buffer left = r.make();
        if (!r.makeRight) {
            finish(left, r.fadeInMs, r.fadeOutMs);
            normalise(left, r.rms, kPeak);
            sounds.push_back({r.fileName, 1, std::move(left)});
            continue;
        }
        Buffer right = r.makeRight();
        right.resize(left.size(), 0.0f);
        // A little of each side in the other keeps the image wide but not hollow.
        Buffer both(left.size() * 2);
        for (size_t i = 0; i < left.size(); ++i) {
            both[2 * i] = left[i] + 0.25f * right[i];
            both[2 * i + 1] = right[i] + 0.25f * left[i];
        }
        finishStereo(both, r.fadeInMs, r.fadeOutMs);
        normalise(both, r.rms, kPeak);
        sounds.push_back({r.fileName, 2, std::move(both)});
    }
    return sounds;
}

} // namespace soundeffects
