#include "music_preview.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cstdio>

namespace music {

bool renderSection(const std::vector<uint8_t>& moduleBytes, int firstOrder, int orderCount,
                   double tailSeconds, double maxSeconds, SectionRender& out) {
    openmpt_module* mod =
        openmpt_module_create_from_memory2(moduleBytes.data(), moduleBytes.size(), nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr);
    if (!mod) {
        fprintf(stderr, "databuild: libopenmpt cannot load the music module\n");
        return false;
    }
    openmpt_module_set_repeat_count(mod, -1);
    openmpt_module_set_position_order_row(mod, firstOrder, 0);

    constexpr int kRate = 44100;
    constexpr int kChunk = 441; // 10 ms steps: fine enough to see where playback goes
    std::vector<float> chunk(kChunk * 2);
    out = SectionRender{};
    int previousPosition = firstOrder * 1000;
    double elapsed = 0, stopAt = maxSeconds;
    while (elapsed < stopAt) {
        size_t frames = openmpt_module_read_interleaved_float_stereo(mod, kRate, kChunk, chunk.data());
        if (frames == 0) break;
        out.stereo.insert(out.stereo.end(), chunk.begin(), chunk.begin() + long(frames * 2));
        elapsed += double(frames) / kRate;
        int order = openmpt_module_get_current_order(mod);
        if (order < firstOrder || order >= firstOrder + orderCount) out.stayedInside = false;
        // A jump back shows as the position (order, row) going backwards, even onto the same order.
        int position = order * 1000 + openmpt_module_get_current_row(mod);
        if (position < previousPosition && out.loopSeconds == 0) {
            out.loopSeconds = elapsed;
            out.loopTarget = order;
            stopAt = std::min(maxSeconds, elapsed + tailSeconds);
        }
        previousPosition = position;
    }
    openmpt_module_destroy(mod);
    return true;
}

} // namespace music
