// RIFF/WAVE with one "fmt " and one "data" chunk: the plainest layout every
// reader accepts.
#include "wav_write.h"

#include "le_bytes.h"

#include <algorithm>
#include <cmath>

static void put_tag(std::vector<uint8_t> &out, const char *tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

std::vector<uint8_t> wav_encode(const std::vector<float> &samples, int channels, int rate) {
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size()) * 2;
    std::vector<uint8_t> out;
    out.reserve(44 + data_bytes);
    put_tag(out, "RIFF");
    put_le32(out, 36 + data_bytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_le32(out, 16);
    put_le16(out, 1); // PCM
    put_le16(out, static_cast<uint32_t>(channels));
    put_le32(out, static_cast<uint32_t>(rate));
    put_le32(out, static_cast<uint32_t>(rate * channels * 2));
    put_le16(out, static_cast<uint32_t>(channels * 2));
    put_le16(out, 16);
    put_tag(out, "data");
    put_le32(out, data_bytes);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put_le16(out, static_cast<uint32_t>(v) & 0xffff);
    }
    return out;
}
