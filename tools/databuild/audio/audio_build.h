// The audio half of the data builder: every sound effect and the music module, with WAV previews.
#pragma once

#include <string>

// Writes dataDir/Sounds/*.ogg and dataDir/music.mo3, and renders every sound and every music section
// as WAV into previewDir. Returns false (after printing why) if anything could not be written.
bool buildAudio(const std::string& dataDir, const std::string& previewDir);
