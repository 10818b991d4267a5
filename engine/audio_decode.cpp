#include "engine/audio_decode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace {

// A sound of the game is a few seconds long; a stream that decodes to more than this is not one of
// them and is refused rather than allowed to take the memory.
constexpr ogg_int64_t kMaxSoundFrames = ogg_int64_t(44100) * 120;
// The length a file claims is a hint for the first allocation only: no more frames than the file
// could plausibly hold are reserved up front, whatever its last page says.
constexpr size_t kReserveFramesPerByte = 16;

// vorbisfile reads through these callbacks from a buffer held in memory; every read is bounded by it.
struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

size_t readMemory(void* dest, size_t size, size_t count, void* source) {
    auto* reader = static_cast<MemoryReader*>(source);
    if (size == 0) return 0;
    size_t wanted = size * count;
    size_t left = reader->size - reader->position;
    size_t n = std::min(wanted, left) / size * size;
    std::memcpy(dest, reader->data + reader->position, n);
    reader->position += n;
    return n / size;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(source);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? ogg_int64_t(reader->position)
                                            : ogg_int64_t(reader->size);
    ogg_int64_t target = base + offset;
    if (target < 0 || target > ogg_int64_t(reader->size)) return -1;
    reader->position = size_t(target);
    return 0;
}

long tellMemory(void* source) {
    return long(static_cast<MemoryReader*>(source)->position);
}

} // namespace

bool decodeOgg(const uint8_t* data, size_t size, PcmSound& out) {
    out = PcmSound{};
    if (!data || size == 0) return false;
    MemoryReader reader{data, size, 0};
    ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    OggVorbis_File file;
    if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) return false;
    vorbis_info* info = ov_info(&file, -1);
    if (!info || info->channels < 1 || info->rate <= 0) {
        ov_clear(&file);
        return false;
    }
    int sourceChannels = info->channels;
    out.channels = sourceChannels >= 2 ? 2 : 1;
    out.rate = int(info->rate);
    ogg_int64_t total = ov_pcm_total(&file, -1);
    if (total > 0) {
        size_t plausible = std::min<size_t>(size * kReserveFramesPerByte, size_t(kMaxSoundFrames));
        out.samples.reserve(std::min(size_t(total), plausible) * size_t(out.channels));
    }

    // Decoded as floats so that more than two channels can be folded into stereo; a chained stream that
    // changes its channel count is folded the same way, frame by frame.
    bool ok = true;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        long frames = ov_read_float(&file, &pcm, 1024, &section);
        if (frames == 0) break;
        if (frames < 0) {
            if (frames == OV_HOLE) continue; // a gap in the stream: keep what follows
            ok = false;
            break;
        }
        if (ogg_int64_t(out.samples.size() / out.channels) + frames > kMaxSoundFrames) {
            ok = false;
            break;
        }
        vorbis_info* now = ov_info(&file, section);
        int channels = now ? now->channels : sourceChannels;
        for (long i = 0; i < frames; ++i) {
            float left = pcm[0][i];
            float right = channels > 1 ? pcm[1][i] : left;
            for (int c = 2; c < channels; ++c) { // extra channels go half to each side
                left += 0.5f * pcm[c][i];
                right += 0.5f * pcm[c][i];
            }
            auto toShort = [](float v) { return int16_t(std::clamp(v, -1.0f, 1.0f) * 32767.0f); };
            if (out.channels == 1) {
                out.samples.push_back(toShort(left));
            } else {
                out.samples.push_back(toShort(left));
                out.samples.push_back(toShort(right));
            }
        }
    }
    ov_clear(&file);
    if (!ok || out.samples.empty()) {
        out = PcmSound{};
        return false;
    }
    return true;
}
