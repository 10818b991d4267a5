// Where the mix goes: the SDL2 sound device at 44100 Hz stereo (pulled by SDL's audio thread), or the
// capturing backend of the tests, which the test pulls itself. No output means a silent game.
#pragma once

enum class AudioOutputKind { None, Device, Capture };

void chooseAudioCapture(bool capture); // tests: the next openAudioOutput opens the capturing backend
// Fills frames of interleaved stereo floats; the device calls it on its own thread.
using AudioFill = void (*)(float* frames, int frameCount);
// The device at rate Hz pulling from fill, or the capture; false when no device can be opened (the game
// stays silent).
bool openAudioOutput(int rate, AudioFill fill);
void closeAudioOutput();            // stops the audio thread; the mixer is not called after this
void pauseAudioOutput(bool paused); // window deactivated / activated
bool audioOutputPaused();
void lockAudioOutput(); // keeps the audio thread out for a moment (swapping the music module)
void unlockAudioOutput();
AudioOutputKind audioOutputKind();
