#include "scenery.h"

#include "catalogue.h"

#include <cstring>

namespace {

void putBytes(std::vector<uint8_t>& out, const void* p, size_t n) {
    appendRaw(out, p, n);
}

void putText(std::vector<uint8_t>& out, const std::string& text, size_t field) {
    std::vector<uint8_t> bytes(field, 0);
    std::memcpy(bytes.data(), text.data(), std::min(text.size(), field - 1));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

} // namespace

// Little-endian layout: name (64), count (int32), then 65 bytes per object.
std::vector<uint8_t> encodeSceneFile(const std::string& sceneName, const std::vector<SceneObject>& objects) {
    std::vector<uint8_t> out;
    putText(out, sceneName, 64);
    int32_t count = int32_t(objects.size());
    putBytes(out, &count, 4);
    for (const SceneObject& o : objects) {
        putText(out, o.type, 32);
        float rect[4] = {o.left, o.top, o.right, o.bottom};
        putBytes(out, rect, 16);
        int32_t depth = o.depth;
        putBytes(out, &depth, 4);
        float params[2] = {o.paramX, o.paramY};
        putBytes(out, params, 8);
        uint8_t mirror = o.mirror ? 1 : 0;
        putBytes(out, &mirror, 1);
        int32_t firstPass = o.firstPass;
        putBytes(out, &firstPass, 4);
    }
    return out;
}
