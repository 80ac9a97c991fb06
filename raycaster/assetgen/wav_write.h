// WAV encoder: 16-bit signed PCM, little-endian, any channel count.
#pragma once

#include <cstdint>
#include <vector>

// `samples` are interleaved frames in -1..1; values beyond are clipped.
std::vector<uint8_t> wav_encode(const std::vector<float> &samples, int channels, int rate);
