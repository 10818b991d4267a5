// Small synthesis toolkit for the generated sounds and the music instruments: oscillators, noise,
// envelopes, filters and the clean-up every sound gets (DC removal, edge fades, loudness).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace synth {

constexpr int kRate = 44100; // every buffer is at this rate, mono unless said otherwise
constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 6.28318530717959f;

using Buffer = std::vector<float>;

// Deterministic generator (xorshift32): every sound and instrument seeds its own.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    uint32_t nextBits();
    float white();                                   // uniform in [-1, 1)
    float unit() { return 0.5f * (white() + 1.0f); } // uniform in [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
};

// Biquad filter in direct form I (coefficients after the well-known cookbook formulas).
struct Biquad {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    void lowPass(float hz, float q);
    void highPass(float hz, float q);
    void bandPass(float hz, float q); // constant 0 dB peak gain
    float run(float x);
};

// One-pole smoothing low pass, cheap enough to retune every sample.
struct OnePole {
    float y = 0;
    float run(float x, float hz);
};

// Pink-ish noise (Paul Kellet's economical three-pole weighting of white noise).
struct PinkNoise {
    float b0 = 0, b1 = 0, b2 = 0;
    float run(float white);
};

Buffer makeBuffer(float seconds);
inline float seconds(int i) {
    return float(i) / kRate;
}

// Attack then exponential decay; `decay` is the time to fall to about 1/1000 (-60 dB).
float percussive(float t, float attack, float decay);
// Linear ramp helpers for envelopes.
float rampUp(float t, float start, float length);
float rampDown(float t, float start, float length);

float noteHz(float midiNote); // 69 = 440 Hz

// A struck-bell partial set: adds decaying sines at `hz` times each ratio into `out` from `start`.
void addBell(Buffer& out, float start, float hz, float gain, float decay, uint32_t seed);
// A soft sine "pluck" with a little second harmonic and a fast click-free attack.
void addPluck(Buffer& out, float start, float hz, float gain, float decay);
// A sine blip whose pitch glides exponentially from `fromHz` to `toHz` over its length.
void addGlide(Buffer& out, float start, float length, float fromHz, float toHz, float gain);

// Clean-up: remove DC with a gentle high pass, fade the first and last samples so the sound starts and
// ends at zero, and trim trailing near-silence.
void finish(Buffer& b, float fadeInMs = 2.0f, float fadeOutMs = 8.0f, bool trimTail = true);
// The same for interleaved stereo: both channels are trimmed to the same length and faded together.
void finishStereo(Buffer& b, float fadeInMs, float fadeOutMs);
// Loudness: scale so the loudest 50 ms window reaches `rmsTarget`, unless that would push the peak
// above `peakLimit`; then the peak decides.
void normalise(Buffer& b, float rmsTarget, float peakLimit);

float peakOf(const Buffer& b);
float loudestWindowRms(const Buffer& b, float windowMs = 50.0f);

} // namespace synth
