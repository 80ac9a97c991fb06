// PNG encoding over zlib; each row gets whichever of the five filters leaves
// the smallest sum of magnitudes, the usual heuristic for small files.
#include "png_write.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <zlib.h>

uint8_t to_byte(float v) {
    return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0f));
}

static void put_u32(std::vector<uint8_t> &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

static void put_chunk(std::vector<uint8_t> &out, const char *type,
                      const std::vector<uint8_t> &data) {
    put_u32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    put_u32(out, static_cast<uint32_t>(crc));
}

static uint8_t paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Filters one row into `out` (type byte first) by the filter of that type.
static void filter_row(int type, const uint8_t *row, const uint8_t *prev, size_t len, int bpp,
                       uint8_t *out) {
    out[0] = static_cast<uint8_t>(type);
    for (size_t i = 0; i < len; ++i) {
        int a = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
        int b = prev ? prev[i] : 0;
        int c = prev && i >= static_cast<size_t>(bpp) ? prev[i - bpp] : 0;
        int predictor = 0;
        switch (type) {
        case 1:
            predictor = a;
            break;
        case 2:
            predictor = b;
            break;
        case 3:
            predictor = (a + b) / 2;
            break;
        case 4:
            predictor = paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i + 1] = static_cast<uint8_t>(row[i] - predictor);
    }
}

std::vector<uint8_t> png_encode(const Image &img, bool with_alpha) {
    const int bpp = with_alpha ? 4 : 3;
    const size_t len = static_cast<size_t>(img.w) * bpp;
    std::vector<uint8_t> raw(len * img.h);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            const Rgba &p = pixel(img, x, y);
            uint8_t *dst = &raw[y * len + static_cast<size_t>(x) * bpp];
            dst[0] = to_byte(p.r);
            dst[1] = to_byte(p.g);
            dst[2] = to_byte(p.b);
            if (with_alpha) dst[3] = to_byte(p.a);
        }

    std::vector<uint8_t> filtered((len + 1) * img.h), trial(len + 1);
    for (int y = 0; y < img.h; ++y) {
        const uint8_t *row = &raw[y * len];
        const uint8_t *prev = y > 0 ? row - len : nullptr;
        long best_cost = -1;
        for (int type = 0; type <= 4; ++type) {
            filter_row(type, row, prev, len, bpp, trial.data());
            long cost = 0;
            for (size_t i = 1; i <= len; ++i) cost += std::abs(static_cast<int8_t>(trial[i]));
            if (best_cost < 0 || cost < best_cost) {
                best_cost = cost;
                std::copy(trial.begin(), trial.end(), filtered.begin() + y * (len + 1));
            }
        }
    }

    uLongf packed_len = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> packed(packed_len);
    compress2(packed.data(), &packed_len, filtered.data(), static_cast<uLong>(filtered.size()), 9);
    packed.resize(packed_len);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    put_u32(header, static_cast<uint32_t>(img.w));
    put_u32(header, static_cast<uint32_t>(img.h));
    header.insert(header.end(), {8, static_cast<uint8_t>(with_alpha ? 6 : 2), 0, 0, 0});
    put_chunk(out, "IHDR", header);
    put_chunk(out, "IDAT", packed);
    put_chunk(out, "IEND", {});
    return out;
}

bool write_file(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool png_write(const std::string &path, const Image &img, bool with_alpha) {
    return write_file(path, png_encode(img, with_alpha));
}
