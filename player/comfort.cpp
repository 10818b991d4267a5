#include "player/comfort.h"

#include <vector>

#include "engine/bytes.h"
#include "engine/file_registry.h"
#include "platform/folders.h"

Comfort comfort;

namespace {
const char* kFileName = "comfort";
constexpr uint32_t kReduceFlashesBit = 1;
} // namespace

void comfortToBytes(const Comfort& c, uint8_t out[kComfortBytes]) {
    uint32_t flags = c.reduceFlashes ? kReduceFlashesBit : 0;
    for (int i = 0; i < kComfortBytes; ++i) out[i] = static_cast<uint8_t>(flags >> (8 * i));
}

bool comfortFromBytes(const uint8_t* data, size_t size, Comfort& c) {
    c = Comfort{};
    if (!data || size != kComfortBytes) return false;
    uint32_t flags = static_cast<uint32_t>(readInt32(data));
    c.reduceFlashes = (flags & kReduceFlashesBit) != 0;
    return true;
}

void readComfort() {
    std::vector<uint8_t> bytes;
    if (readWholeFile(configFolder() + kFileName, bytes, kComfortBytes + 1)) {
        comfortFromBytes(bytes.data(), bytes.size(), comfort);
    } else {
        comfort = Comfort{};
    }
}

void saveComfort() {
    uint8_t bytes[kComfortBytes];
    comfortToBytes(comfort, bytes);
    if (makeFolders(configFolder())) writeWholeFile(configFolder() + kFileName, bytes, sizeof bytes);
}
