#include "synth.h"

#include <algorithm>

namespace synth {

uint32_t Noise::nextBits() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float Noise::white() {
    return float(nextBits() >> 8) / float(1 << 23) - 1.0f;
}

void Biquad::lowPass(float hz, float q) {
    float w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    b0 = (1 - c) / 2 / a0;
    b1 = (1 - c) / a0;
    b2 = b0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

void Biquad::highPass(float hz, float q) {
    float w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    b0 = (1 + c) / 2 / a0;
    b1 = -(1 + c) / a0;
    b2 = b0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

void Biquad::bandPass(float hz, float q) {
    float w = kTwoPi * hz / kRate, c = std::cos(w), alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    b0 = alpha / a0;
    b1 = 0;
    b2 = -alpha / a0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

float Biquad::run(float x) {
    float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

float OnePole::run(float x, float hz) {
    float k = 1.0f - std::exp(-kTwoPi * hz / kRate);
    y += k * (x - y);
    return y;
}

float PinkNoise::run(float white) {
    b0 = 0.99765f * b0 + white * 0.0990460f;
    b1 = 0.96300f * b1 + white * 0.2965164f;
    b2 = 0.57000f * b2 + white * 1.0526913f;
    return (b0 + b1 + b2 + white * 0.1848f) * 0.25f;
}

Buffer makeBuffer(float secondsLong) {
    return Buffer(size_t(secondsLong * kRate) + 1, 0.0f);
}

float percussive(float t, float attack, float decay) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-6.9f * (t - attack) / decay);
}

float rampUp(float t, float start, float length) {
    return std::clamp((t - start) / length, 0.0f, 1.0f);
}
float rampDown(float t, float start, float length) {
    return 1.0f - rampUp(t, start, length);
}

float noteHz(float midiNote) {
    return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f);
}

void addBell(Buffer& out, float start, float hz, float gain, float decay, uint32_t seed) {
    // Slightly stretched, glass-like partials; the higher ones die away sooner.
    static const float kRatio[] = {1.0f, 2.01f, 2.76f, 4.07f, 5.40f};
    static const float kGain[] = {1.0f, 0.35f, 0.30f, 0.12f, 0.08f};
    static const float kDecay[] = {1.0f, 0.6f, 0.45f, 0.3f, 0.2f};
    Noise n(seed);
    int first = int(start * kRate);
    for (int p = 0; p < 5; ++p) {
        float f = hz * kRatio[p];
        if (f > 18000) continue;
        float phase = n.unit() * kTwoPi;
        float d = decay * kDecay[p];
        int count = int((d * 1.2f + 0.003f) * kRate);
        for (int i = 0; i < count && first + i < int(out.size()); ++i) {
            float t = seconds(i);
            out[first + i] += gain * kGain[p] * percussive(t, 0.002f, d) * std::sin(phase + kTwoPi * f * t);
        }
    }
}

void addPluck(Buffer& out, float start, float hz, float gain, float decay) {
    int first = int(start * kRate);
    int count = int((decay * 1.2f + 0.004f) * kRate);
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        float t = seconds(i);
        float e = percussive(t, 0.003f, decay);
        float e2 = percussive(t, 0.003f, decay * 0.4f);
        float p = kTwoPi * hz * t;
        out[first + i] +=
            gain * (e * std::sin(p) + 0.3f * e2 * std::sin(2 * p) + 0.1f * e2 * std::sin(3 * p));
    }
}

void addGlide(Buffer& out, float start, float length, float fromHz, float toHz, float gain) {
    int first = int(start * kRate);
    int count = int(length * kRate);
    float phase = 0;
    for (int i = 0; i < count && first + i < int(out.size()); ++i) {
        float u = float(i) / count;
        float f = fromHz * std::pow(toHz / fromHz, u);
        phase += kTwoPi * f / kRate;
        float e = std::sin(kPi * std::min(1.0f, u * 8.0f) * 0.5f) * (1.0f - u) * (1.0f - u);
        out[first + i] += gain * e * std::sin(phase);
    }
}

void finish(Buffer& b, float fadeInMs, float fadeOutMs, bool trimTail) {
    // Trim trailing near-silence first so the fade lands on the real tail.
    if (trimTail) {
        float peak = peakOf(b);
        size_t end = b.size();
        while (end > 64 && std::fabs(b[end - 1]) < peak * 0.0005f) --end;
        b.resize(end);
    }
    // DC blocker: a first-order high pass at about 15 Hz.
    float xPrev = 0, yPrev = 0, r = 1.0f - kTwoPi * 15.0f / kRate;
    for (float& s : b) {
        float y = s - xPrev + r * yPrev;
        xPrev = s;
        yPrev = y;
        s = y;
    }
    int in = std::min<int>(int(fadeInMs * kRate / 1000), int(b.size()) / 4);
    int out = std::min<int>(int(fadeOutMs * kRate / 1000), int(b.size()) / 4);
    for (int i = 0; i < in; ++i) b[i] *= 0.5f - 0.5f * std::cos(kPi * float(i) / in);
    for (int i = 0; i < out; ++i) b[b.size() - 1 - i] *= 0.5f - 0.5f * std::cos(kPi * float(i) / out);
    b.front() = 0;
    b.back() = 0;
}

void finishStereo(Buffer& b, float fadeInMs, float fadeOutMs) {
    Buffer left(b.size() / 2), right(b.size() / 2);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = b[2 * i];
        right[i] = b[2 * i + 1];
    }
    // Trim by the louder channel, then finish each channel over the same length.
    float peak = std::max(peakOf(left), peakOf(right));
    size_t end = left.size();
    while (end > 64 && std::fabs(left[end - 1]) < peak * 0.0005f &&
           std::fabs(right[end - 1]) < peak * 0.0005f)
        --end;
    left.resize(end);
    right.resize(end);
    Buffer* sides[] = {&left, &right};
    for (Buffer* side : sides) {
        finish(*side, fadeInMs, fadeOutMs, false);
    }
    b.assign(end * 2, 0.0f);
    for (size_t i = 0; i < end; ++i) {
        b[2 * i] = left[i];
        b[2 * i + 1] = right[i];
    }
}

float peakOf(const Buffer& b) {
    float p = 0;
    for (float s : b) p = std::max(p, std::fabs(s));
    return p;
}

float loudestWindowRms(const Buffer& b, float windowMs) {
    int w = std::max(1, int(windowMs * kRate / 1000));
    double best = 0;
    for (size_t start = 0; start < b.size(); start += size_t(w) / 2) {
        size_t stop = std::min(b.size(), start + size_t(w));
        double sum = 0;
        for (size_t i = start; i < stop; ++i) sum += double(b[i]) * b[i];
        best = std::max(best, sum / w);
    }
    return float(std::sqrt(best));
}

void normalise(Buffer& b, float rmsTarget, float peakLimit) {
    float rms = loudestWindowRms(b), peak = peakOf(b);
    if (rms <= 0 || peak <= 0) return;
    float gain = std::min(rmsTarget / rms, peakLimit / peak);
    for (float& s : b) s *= gain;
}

} // namespace synth
