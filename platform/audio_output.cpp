#include "platform/audio_output.h"

#include <SDL.h>

namespace {

struct AudioOutput {
    AudioOutputKind kind = AudioOutputKind::None;
    bool captureChosen = false;
    bool paused = false;
    bool subsystemStarted = false;
    SDL_AudioDeviceID device = 0;
    AudioFill fill = nullptr; // the mixer, called on SDL's audio thread
};

AudioOutput output;

void fillFromMixer(void*, Uint8* stream, int len) {
    output.fill(reinterpret_cast<float*>(stream), len / int(2 * sizeof(float)));
}

} // namespace

void chooseAudioCapture(bool capture) {
    output.captureChosen = capture;
}

bool openAudioOutput(int rate, AudioFill fill) {
    closeAudioOutput();
    output.fill = fill;
    output.paused = false;
    if (output.captureChosen) {
        output.kind = AudioOutputKind::Capture;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    output.subsystemStarted = true;
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024; // about 23 ms per pull
    want.callback = fillFromMixer;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, the mixer always sees its rate in
    // stereo.
    output.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (output.device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        output.subsystemStarted = false;
        return false;
    }
    output.kind = AudioOutputKind::Device;
    SDL_PauseAudioDevice(output.device, 0);
    return true;
}

void closeAudioOutput() {
    if (output.device != 0) SDL_CloseAudioDevice(output.device);
    output.device = 0;
    if (output.subsystemStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    output.subsystemStarted = false;
    output.kind = AudioOutputKind::None;
    output.paused = false;
}

void pauseAudioOutput(bool paused) {
    output.paused = paused;
    if (output.device != 0) SDL_PauseAudioDevice(output.device, paused ? 1 : 0);
}

bool audioOutputPaused() {
    return output.paused;
}

void lockAudioOutput() {
    if (output.device != 0) SDL_LockAudioDevice(output.device);
}

void unlockAudioOutput() {
    if (output.device != 0) SDL_UnlockAudioDevice(output.device);
}

AudioOutputKind audioOutputKind() {
    return output.kind;
}
