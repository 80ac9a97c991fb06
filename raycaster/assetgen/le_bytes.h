// Little-endian writes into a byte buffer, for the formats born on Windows
// (ICO, CUR, WAV).
#pragma once

#include <cstdint>
#include <vector>

inline void put_le16(std::vector<uint8_t> &out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put_le32(std::vector<uint8_t> &out, uint32_t v) {
    put_le16(out, v & 0xffff);
    put_le16(out, v >> 16);
}
