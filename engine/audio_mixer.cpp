#include "engine/audio_mixer.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iterator>

Mixer mixer;

namespace {

constexpr float kLimiterCeiling = 0.89f;    // about -1 dBFS: louder peaks are turned down, not cut
constexpr float kLimiterRelease = 0.00025f; // per frame: the gain recovers over roughly a tenth of a second

// The voice's channel counts as ended from now on (the main thread may reuse the voice).
void reportEnded(int index) {
    mixer.endedChannel[index].store(mixer.voices[index].channel, std::memory_order_release);
}

void endVoice(int index) {
    if (mixer.voices[index].active) reportEnded(index);
    mixer.voices[index].active = false;
}

// Stops a voice without a click: it fades out over a few milliseconds, in place or, when its slot is
// needed for a new sound, among the tails.
void fadeOutVoice(int index, bool moveToTail) {
    MixerVoice& v = mixer.voices[index];
    if (!v.active) return;
    reportEnded(index);
    if (v.fadeStep == 0.0f) v.fadeStep = -1.0f / kVoiceFadeFrames;
    if (!moveToTail) return;
    mixer.tails.push(v);
    v.active = false;
}

void runCommand(const MixerCommand& c) {
    switch (c.kind) {
    case MixerCommandKind::StartVoice: {
        if (c.voice < 0 || c.voice >= kMaxVoices) return;
        fadeOutVoice(c.voice, true);
        MixerVoice& v = mixer.voices[c.voice];
        v.channel = c.channel;
        if (!c.pcm || c.frames <= 0 || c.rate <= 0 || (c.channels != 1 && c.channels != 2)) {
            mixer.endedChannel[c.voice].store(c.channel, std::memory_order_release);
            return;
        }
        v.pcm = c.pcm;
        v.frames = uint32_t(c.frames);
        v.channels = c.channels;
        v.position = 0;
        v.step = (uint64_t(c.rate) << 32) / kMixRate;
        v.gain = std::clamp(c.volume, 0.0f, 1.0f);
        v.fade = 1.0f;
        v.fadeStep = 0.0f;
        v.active = true;
        break;
    }
    case MixerCommandKind::StopVoices:
        for (int i = 0; i < kMaxVoices; ++i) fadeOutVoice(i, false);
        break;
    case MixerCommandKind::SetVolumes:
        mixer.musicVolume = std::clamp(c.musicVolume, 0, 100);
        mixer.soundVolume = std::clamp(c.soundVolume, 0, 100);
        break;
    case MixerCommandKind::MusicPlay:
        if (!mixer.music) break;
        if (mixer.musicPlaying && mixer.musicGain > 0.0f) {
            mixer.pendingOrder = c.order; // audible: the next chunk fades out, then the module jumps
        } else {
            openmpt_module_set_position_order_row(mixer.music, c.order, 0);
            mixer.musicPlaying = true;
        }
        break;
    case MixerCommandKind::MusicVolume:
        mixer.musicChannelVolume = std::clamp(c.musicVolume, 0, 100);
        break;
    }
    mixer.musicTarget = mixer.musicChannelVolume / 100.0f * (mixer.musicVolume / 100.0f) * kMusicAmplify;
    mixer.soundTarget = mixer.soundVolume / 100.0f;
}

void drainCommands() {
    uint32_t tail = mixer.commandTail.load(std::memory_order_relaxed);
    uint32_t head = mixer.commandHead.load(std::memory_order_acquire);
    while (tail != head) {
        runCommand(mixer.commands[tail % kMixerCommandCapacity]);
        ++tail;
    }
    mixer.commandTail.store(tail, std::memory_order_release);
}

// Adds one voice into the chunk, resampled by linear interpolation; the gain ramps from g0 to g1.
// Returns false once the voice has played its last frame or faded out.
bool mixVoice(MixerVoice& v, float* out, int frames, float g0, float g1) {
    const float scale = 1.0f / 32768.0f;
    const float dg = (g1 - g0) / frames;
    for (int i = 0; i < frames; ++i) {
        uint32_t at = uint32_t(v.position >> 32);
        if (at >= v.frames || v.fade <= 0.0f) return false;
        float frac = float(uint32_t(v.position)) * (1.0f / 4294967296.0f);
        uint32_t next = at + 1 < v.frames ? at + 1 : at; // the last frame holds instead of reading past it
        float gain = (g0 + dg * i) * v.gain * v.fade * scale;
        if (v.channels == 2) {
            const int16_t* a = v.pcm + size_t(at) * 2;
            const int16_t* b = v.pcm + size_t(next) * 2;
            out[2 * i] += (a[0] + (b[0] - a[0]) * frac) * gain;
            out[2 * i + 1] += (a[1] + (b[1] - a[1]) * frac) * gain;
        } else {
            float s = (v.pcm[at] + (v.pcm[next] - v.pcm[at]) * frac) * gain;
            out[2 * i] += s;
            out[2 * i + 1] += s;
        }
        v.position += v.step;
        v.fade += v.fadeStep;
    }
    return uint32_t(v.position >> 32) < v.frames && v.fade > 0.0f;
}

void mixChunk(float* out, int frames) {
    std::fill(mixer.mixBuffer, mixer.mixBuffer + frames * 2, 0.0f);
    float s0 = mixer.soundGain, s1 = mixer.soundTarget;
    int active = 0;
    for (int i = 0; i < kMaxVoices; ++i) {
        if (!mixer.voices[i].active) continue;
        if (mixVoice(mixer.voices[i], mixer.mixBuffer, frames, s0, s1))
            ++active;
        else
            endVoice(i);
    }
    for (auto& tail : mixer.tails) {
        if (tail.active) tail.active = mixVoice(tail, mixer.mixBuffer, frames, s0, s1);
    }
    mixer.soundGain = s1;
    mixer.activeVoices.store(active, std::memory_order_relaxed);

    float m0 = mixer.musicGain, m1 = mixer.pendingOrder >= 0 ? 0.0f : mixer.musicTarget;
    if (mixer.music && mixer.musicPlaying && (m0 > 0.0f || m1 > 0.0f)) {
        size_t got = openmpt_module_read_interleaved_float_stereo(mixer.music, kMixRate, size_t(frames),
                                                                  mixer.musicBuffer);
        float dm = (m1 - m0) / frames;
        for (size_t i = 0; i < got; ++i) {
            float g = m0 + dm * float(i);
            mixer.mixBuffer[2 * i] += mixer.musicBuffer[2 * i] * g;
            mixer.mixBuffer[2 * i + 1] += mixer.musicBuffer[2 * i + 1] * g;
        }
    }
    mixer.musicGain = m1;
    if (mixer.pendingOrder >= 0 && mixer.music) {
        // A jump in the middle of a note would click: it happens silent, and the next chunk fades back in.
        openmpt_module_set_position_order_row(mixer.music, mixer.pendingOrder, 0);
        mixer.pendingOrder = -1;
    }

    // Look-ahead limiter: every frame waits 64 frames in a delay line; the gain glides down to what the
    // loudest frame of the line needs before that frame plays, then recovers slowly. Loud mixes get
    // quieter instead of clipping; the soft knee only catches rounding.
    float g = mixer.limiterGain;
    const float step = 1.0f / kLimiterLookAhead;
    for (int i = 0; i < frames; ++i) {
        float l = mixer.mixBuffer[2 * i], r = mixer.mixBuffer[2 * i + 1];
        float peak = std::max(std::fabs(l), std::fabs(r));
        int at = mixer.limiterPos;
        float outL = mixer.limiterDelay[2 * at], outR = mixer.limiterDelay[2 * at + 1];
        mixer.limiterDelay[2 * at] = l;
        mixer.limiterDelay[2 * at + 1] = r;
        mixer.limiterNeed[at] = peak > kLimiterCeiling ? kLimiterCeiling / peak : 1.0f;
        mixer.limiterPos = (at + 1) % kLimiterLookAhead;
        float need = 1.0f;
        for (float n : mixer.limiterNeed) need = std::min(need, n);
        // Falling by (1 - need) / 64 per frame reaches `need` within the 64 frames before the peak plays.
        if (need < g)
            g = std::max(need, g - (1.0f - need) * step);
        else
            g = std::min(need, g + (1.0f - g) * kLimiterRelease);
        out[2 * i] = softLimit(outL * g);
        out[2 * i + 1] = softLimit(outR * g);
    }
    mixer.limiterGain = g;
}

} // namespace

float softLimit(float x) {
    const float knee = 0.9f;
    float a = std::fabs(x);
    if (a <= knee) return x;
    float over = (a - knee) / (1.0f - knee);
    float y = knee + (1.0f - knee) * std::tanh(over);
    return x < 0 ? -y : y;
}

void resetMixer() {
    mixer.commandHead.store(0);
    mixer.commandTail.store(0);
    mixer.droppedCommands.store(0);
    for (auto& e : mixer.endedChannel) e.store(0);
    mixer.framesMixed.store(0);
    mixer.activeVoices.store(0);
    for (auto& v : mixer.voices) v = MixerVoice{};
    mixer.tails.clear();
    mixer.music = nullptr;
    mixer.musicPlaying = false;
    mixer.pendingOrder = -1;
    mixer.musicChannelVolume = 100;
    mixer.musicVolume = 90;
    mixer.soundVolume = 90;
    mixer.musicTarget = mixer.musicGain = 0.9f * kMusicAmplify;
    mixer.soundTarget = mixer.soundGain = 0.9f;
    mixer.limiterGain = 1.0f;
    std::fill(std::begin(mixer.limiterDelay), std::end(mixer.limiterDelay), 0.0f);
    std::fill(std::begin(mixer.limiterNeed), std::end(mixer.limiterNeed), 1.0f);
    mixer.limiterPos = 0;
}

bool pushMixerCommand(const MixerCommand& command) {
    uint32_t head = mixer.commandHead.load(std::memory_order_relaxed);
    uint32_t tail = mixer.commandTail.load(std::memory_order_acquire);
    if (head - tail >= uint32_t(kMixerCommandCapacity)) {
        mixer.droppedCommands.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    mixer.commands[head % kMixerCommandCapacity] = command;
    mixer.commandHead.store(head + 1, std::memory_order_release);
    return true;
}

bool mixerChannelActive(int voice, uint32_t channel) {
    if (channel == 0 || voice < 0 || voice >= kMaxVoices) return false;
    return mixer.endedChannel[voice].load(std::memory_order_acquire) != channel;
}

void setMixerMusic(openmpt_module* module) {
    mixer.music = module;
    mixer.musicPlaying = false;
    mixer.pendingOrder = -1;
}

void mixAudio(float* out, int frames) {
    assert(frames >= 0);
    drainCommands();
    int done = 0;
    while (done < frames) {
        int n = std::min(kMixChunkFrames, frames - done);
        mixChunk(out + 2 * done, n);
        done += n;
    }
    mixer.framesMixed.fetch_add(uint64_t(frames), std::memory_order_relaxed);
}
