#include "audio_files.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace audiofiles {

namespace {

constexpr int kRate = 44100;
constexpr int kStreamSerial = 0x50424c43; // fixed: the stream serial would otherwise be random
constexpr int kBlock = 1024;

bool writePages(FILE* f, ogg_stream_state& stream, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (fwrite(page.header, 1, page.header_len, f) != size_t(page.header_len)) return false;
        if (fwrite(page.body, 1, page.body_len, f) != size_t(page.body_len)) return false;
    }
    return true;
}

} // namespace

bool writeOggVorbis(const std::string& path, const std::vector<float>& samples, int channels) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "databuild: cannot write %s\n", path.c_str());
        return false;
    }
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, kRate, 0.5f) != 0) {
        fprintf(stderr, "databuild: vorbis encoder refused its settings\n");
        vorbis_info_clear(&info);
        fclose(f);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "pebblecraft databuild");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kStreamSerial);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    bool ok = writePages(f, stream, true);

    size_t done = 0;
    bool ended = false;
    while (ok && !ended) {
        size_t frames = samples.size() / size_t(channels);
        size_t count = std::min<size_t>(kBlock, frames - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0); // end of stream
            ended = true;
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, int(count));
            for (size_t i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = samples[(done + i) * size_t(channels) + size_t(c)];
            vorbis_analysis_wrote(&dsp, int(count));
            done += count;
        }
        while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (ok && vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                ok = writePages(f, stream, false);
            }
        }
    }
    ok = ok && writePages(f, stream, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    if (fclose(f) != 0) ok = false;
    if (!ok) fprintf(stderr, "databuild: writing %s failed\n", path.c_str());
    return ok;
}

bool writeWav(const std::string& path, const std::vector<float>& interleaved, int channels) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "databuild: cannot write %s\n", path.c_str());
        return false;
    }
    auto put32 = [&](uint32_t v) {
        uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        fwrite(b, 1, 4, f);
    };
    auto put16 = [&](uint16_t v) {
        uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
        fwrite(b, 1, 2, f);
    };
    uint32_t dataBytes = uint32_t(interleaved.size() * 2);
    fwrite("RIFF", 1, 4, f);
    put32(36 + dataBytes);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(16);
    put16(1); // PCM
    put16(uint16_t(channels));
    put32(kRate);
    put32(uint32_t(kRate * channels * 2));
    put16(uint16_t(channels * 2));
    put16(16);
    fwrite("data", 1, 4, f);
    put32(dataBytes);
    std::vector<int16_t> pcm(interleaved.size());
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = int16_t(std::lround(std::clamp(interleaved[i], -1.0f, 1.0f) * 32767.0f));
    bool ok = fwrite(pcm.data(), 2, pcm.size(), f) == pcm.size(); // little-endian machine
    if (fclose(f) != 0) ok = false;
    return ok;
}

} // namespace audiofiles
