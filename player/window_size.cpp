#include "player/window_size.h"

#include <vector>

#include "engine/file_record.h"
#include "engine/file_registry.h"
#include "platform/folders.h"

namespace {

constexpr auto windowSizeFields = [](auto& f, auto& s) {
    f.i32(s.width);
    f.i32(s.height);
    f.flag32(s.maximised);
};
static_assert(recordBytes<WindowSize>(windowSizeFields) == kWindowSizeBytes);

const char* kFileName = "window";

} // namespace

void windowSizeToBytes(const WindowSize& s, uint8_t out[kWindowSizeBytes]) {
    writeRecord(windowSizeFields, s, out, kWindowSizeBytes);
}

bool windowSizeFromBytes(const uint8_t* data, size_t size, WindowSize& s) {
    s = WindowSize{};
    if (!data || size != kWindowSizeBytes) return false;
    WindowSize stored;
    readRecord(windowSizeFields, stored, data, size);
    // A side the window can never have been given comes from a damaged file: none of it is trusted.
    if (stored.width < kMinWindowWidth || stored.width > kMaxWindowSide || stored.height < kMinWindowHeight ||
        stored.height > kMaxWindowSide) {
        return false;
    }
    s = stored;
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
