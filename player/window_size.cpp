#include "player/window_size.h"

#include <vector>

#include "engine/bytes.h"
#include "engine/file_registry.h"
#include "platform/folders.h"

namespace {

void putInt(uint8_t* at, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(u >> (8 * i));
}

const char* kFileName = "window";

} // namespace

void windowSizeToBytes(const WindowSize& s, uint8_t out[kWindowSizeBytes]) {
    putInt(out + 0, s.width);
    putInt(out + 4, s.height);
    putInt(out + 8, s.maximised ? 1 : 0);
}

bool windowSizeFromBytes(const uint8_t* data, size_t size, WindowSize& s) {
    s = WindowSize{};
    if (!data || size != kWindowSizeBytes) return false;
    // A side the window can never have been given comes from a damaged file: none of it is trusted.
    int width = readInt32(data + 0), height = readInt32(data + 4);
    if (width < kMinWindowWidth || width > kMaxWindowSide || height < kMinWindowHeight ||
        height > kMaxWindowSide) {
        return false;
    }
    s.width = width;
    s.height = height;
    s.maximised = readInt32(data + 8) != 0;
    return true;
}

WindowSize readWindowSize() {
    WindowSize s;
    std::vector<uint8_t> bytes;
    if (readWholeFile(configFolder() + kFileName, bytes, kWindowSizeBytes + 1)) {
        windowSizeFromBytes(bytes.data(), bytes.size(), s);
    }
    return s;
}

void saveWindowSize(const WindowSize& s) {
    uint8_t bytes[kWindowSizeBytes];
    windowSizeToBytes(s, bytes);
    if (makeFolders(configFolder())) writeWholeFile(configFolder() + kFileName, bytes, sizeof bytes);
}
