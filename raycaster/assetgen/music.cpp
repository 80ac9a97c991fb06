// Ambient loop in D minor: a low drone, a slow pad moving through four chords
// (Dm, Bb, Gm, A), a band of wind and a few distant bells, all through a
// small reverb. Every oscillator runs a whole number of cycles per loop and
// every envelope is periodic; filters and reverb are run twice round the loop
// and the second lap kept, so their state at the end is their state at the
// start.
#include "music.h"

#include "config.h"
#include "noise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

constexpr int64_t N = int64_t{MUSIC_SECONDS} * SAMPLE_RATE;
constexpr int BLOCK = SAMPLE_RATE / 100; // envelopes step every 10 ms
constexpr int BLOCKS = static_cast<int>(N / BLOCK);
static_assert(N % BLOCK == 0);
constexpr double TWO_PI = 6.283185307179586;

struct Stereo {
    std::vector<float> l, r;
};

// Whole cycles per loop nearest to a frequency: at most 1/96 Hz off.
int64_t cycles(double hz) {
    return std::llround(hz * MUSIC_SECONDS);
}

// Position in the loop, 0..1, of an envelope block.
double at(int block) {
    return static_cast<double>(block) / BLOCKS;
}

// A periodic bump: 0..1, `count` times per loop, shifted by `phase` cycles.
float swell(double t, int count, double phase) {
    return static_cast<float>(0.5 - 0.5 * std::cos(TWO_PI * (t * count + phase)));
}

// A sine of k whole cycles per loop, panned, with a level per envelope block
// (ramped linearly from block to block).
struct Partial {
    int64_t k, phase; // phase in 1/N of a cycle
    float left, right;
    std::vector<float> level;
};
using Bank = std::vector<Partial>;

template <typename Gain> void add_sine(Bank &bank, int64_t k, int64_t phase, float pan, Gain gain) {
    Partial p = {k % N, phase, static_cast<float>(std::cos((pan + 1) * TWO_PI / 8)),
                 static_cast<float>(std::sin((pan + 1) * TWO_PI / 8)), std::vector<float>(BLOCKS)};
    for (int b = 0; b < BLOCKS; ++b) p.level[b] = gain(b);
    bank.push_back(std::move(p));
}

// Renders block by block, every partial into a short buffer that stays in
// cache. Each block starts from the exact phase, worked out in integers, so
// the rotation that steps a sine along never drifts and the loop closes.
void render(const Bank &bank, Stereo &out) {
    std::array<double, BLOCK> l, r;
    for (int b = 0; b < BLOCKS; ++b) {
        l.fill(0.0);
        r.fill(0.0);
        const int64_t n0 = int64_t{b} * BLOCK;
        for (const Partial &p : bank) {
            float g0 = p.level[b], g1 = p.level[(b + 1) % BLOCKS];
            if (g0 == 0 && g1 == 0) continue;
            double angle = TWO_PI * static_cast<double>((p.phase + p.k * n0) % N) / N;
            double step = TWO_PI * static_cast<double>(p.k) / N;
            double c = std::cos(angle), s = std::sin(angle);
            const double cs = std::cos(step), sn = std::sin(step);
            for (int i = 0; i < BLOCK; ++i) {
                double v = s * (g0 + (g1 - g0) * i / static_cast<double>(BLOCK));
                l[i] += v * p.left;
                r[i] += v * p.right;
                double next_c = c * cs - s * sn;
                s = s * cs + c * sn;
                c = next_c;
            }
        }
        for (int i = 0; i < BLOCK; ++i) {
            out.l[n0 + i] += static_cast<float>(l[i]);
            out.r[n0 + i] += static_cast<float>(r[i]);
        }
    }
}

// A tone of a few harmonics, 1/n strong, dimmed further by brightness^(n-1).
template <typename Gain, typename Bright>
void add_tone(Bank &bank, double hz, int harmonics, float pan, Rng &rng, Gain gain,
              Bright brightness) {
    for (int h = 1; h <= harmonics; ++h) {
        int64_t phase = rng_next(rng) % N;
        add_sine(bank, cycles(hz) * h, phase, pan, [&](int b) {
            return gain(b) * static_cast<float>(std::pow(brightness(b), h - 1)) / h;
        });
    }
}

void add_drone(Bank &bank, Rng &rng) {
    auto breathe = [](int b) { return 0.75f + 0.25f * swell(at(b), 2, 0.0); };
    auto dark = [](int) { return 0.5f; };
    // Two unequal copies a hair apart: a slow throb that never quite empties.
    for (auto [detune, level] : {std::pair{-4.0, 1.0f}, std::pair{4.0, 0.6f}}) {
        double hz = detune / MUSIC_SECONDS;
        add_tone(
            bank, 36.71 + hz, 4, 0, rng, [&](int b) { return 0.07f * level * breathe(b); }, dark);
        add_tone(
            bank, 73.42 + hz, 5, 0, rng, [&](int b) { return 0.08f * level * breathe(b); }, dark);
        add_tone(
            bank, 110.0 + hz, 3, 0, rng,
            [&](int b) { return 0.03f * level * swell(at(b), 3, 0.25); }, dark);
    }
}

// Weight of chord c of four: full around its middle, cross-fading with its
// neighbours; the four weights always sum to one.
float chord_weight(double t, int c) {
    double d = std::fabs(std::fmod(t * 4 - c - 0.5 + 6.0, 4.0));
    d = std::min(d, 4.0 - d);
    double fade = std::clamp((d - 0.3) / 0.4, 0.0, 1.0);
    if (fade >= 1.0) return 0.0f; // exactly silent, so rendering can skip it
    double w = std::cos(fade * TWO_PI / 4);
    return static_cast<float>(w * w);
}

void add_pad(Bank &bank, Rng &rng) {
    static constexpr std::array<std::array<double, 4>, 4> chords = {{
        {146.83, 174.61, 220.00, 293.66}, // D minor
        {116.54, 146.83, 174.61, 233.08}, // B flat
        {98.00, 146.83, 196.00, 233.08},  // G minor
        {110.00, 164.81, 220.00, 277.18}, // A
    }};
    auto brightness = [](int b) { return 0.3f + 0.25f * swell(at(b), 2, 0.6); };
    for (int c = 0; c < 4; ++c)
        for (double note : chords[c])
            for (int voice = -1; voice <= 1; ++voice) {
                double hz = note + voice * 12.0 / MUSIC_SECONDS; // slow chorus beating
                auto gain = [c](int b) { return 0.045f * chord_weight(at(b), c); };
                add_tone(bank, hz, 6, voice * 0.6f, rng, gain, brightness);
            }
}

// Band-passed noise whose centre wanders between 250 and 700 Hz.
void add_wind(Stereo &out, Rng &rng) {
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<float> white(N);
        for (float &w : white) w = rng_unit(rng) * 2 - 1;
        std::vector<float> &dst = channel ? out.r : out.l;
        float low = 0, band = 0, dull = 0;
        for (int lap = 0; lap < 2; ++lap)
            for (int64_t n = 0; n < N; ++n) {
                double t = static_cast<double>(n) / N;
                double centre = 250 + 450 * swell(t, 3, channel * 0.3);
                float f = static_cast<float>(2 * std::sin(TWO_PI / 2 * centre / SAMPLE_RATE));
                float high = white[n] - low - 0.5f * band;
                band += f * high;
                low += f * band;
                dull += 0.2f * (band - dull); // takes the hiss off, above about 1.4 kHz
                float level = 0.4f * (0.3f + 0.7f * swell(t, 2, 0.15 + channel * 0.1));
                if (lap == 1) dst[n] += dull * level;
            }
    }
}

// Distant struck bells: inharmonic partials with long tails; a tail that runs
// past the end carries on at the start.
void add_bells(Stereo &out) {
    struct Bell {
        double time, hz;
        float pan;
    };
    static constexpr std::array<Bell, 4> bells = {
        {{5.5, 440.0, -0.5f}, {17.0, 349.23, 0.4f}, {29.5, 587.33, -0.2f}, {38.5, 329.63, 0.6f}}};
    static constexpr std::array<std::array<double, 3>, 4> partials = {
        {{1.0, 1.0, 4.0},
         {2.0, 0.25, 2.5},
         {2.76, 0.4, 1.8},
         {5.4, 0.12, 0.7}}}; // ratio, gain, decay
    for (const Bell &bell : bells) {
        float gl = static_cast<float>(std::cos((bell.pan + 1) * TWO_PI / 8));
        float gr = static_cast<float>(std::sin((bell.pan + 1) * TWO_PI / 8));
        int64_t start = std::llround(bell.time * SAMPLE_RATE);
        for (int64_t i = 0; i < 8 * SAMPLE_RATE; ++i) {
            double t = static_cast<double>(i) / SAMPLE_RATE;
            double s = 0;
            for (const auto &p : partials)
                s += p[1] * std::exp(-t / p[2]) * std::sin(TWO_PI * bell.hz * p[0] * t);
            float v = static_cast<float>(0.045 * std::min(1.0, t / 0.006) * s);
            int64_t n = (start + i) % N;
            out.l[n] += v * gl;
            out.r[n] += v * gr;
        }
    }
}

// Four damped combs and two all-passes per channel, the right channel's
// delays a little longer for width.
void add_reverb(Stereo &out, const Stereo &send) {
    static constexpr std::array<int, 4> comb_delays = {1116, 1277, 1422, 1557};
    static constexpr std::array<int, 2> allpass_delays = {556, 341};
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<float> &in = channel ? send.r : send.l;
        std::vector<float> &dst = channel ? out.r : out.l;
        int spread = channel * 23;
        std::array<std::vector<float>, 4> combs;
        std::array<float, 4> damped = {};
        std::array<std::vector<float>, 2> allpasses;
        for (int i = 0; i < 4; ++i) combs[i].assign(comb_delays[i] + spread, 0.0f);
        for (int i = 0; i < 2; ++i) allpasses[i].assign(allpass_delays[i] + spread, 0.0f);
        // One running position for all lines: the second lap carries on
        // where the first ended, whatever the lines' lengths.
        size_t pos = 0;
        for (int lap = 0; lap < 2; ++lap)
            for (int64_t n = 0; n < N; ++n, ++pos) {
                float wet = 0;
                for (int i = 0; i < 4; ++i) {
                    float &slot = combs[i][pos % combs[i].size()];
                    damped[i] = slot * 0.7f + damped[i] * 0.3f;
                    wet += slot;
                    slot = in[n] + damped[i] * 0.84f;
                }
                for (std::vector<float> &line : allpasses) {
                    float &slot = line[pos % line.size()];
                    float delayed = slot;
                    slot = wet + delayed * 0.5f;
                    wet = delayed - wet;
                }
                if (lap == 1) dst[n] += wet * 0.12f;
            }
    }
}

} // namespace

std::vector<float> music_loop() {
    Rng rng = rng_make(SEED_MUSIC);
    Bank drone, pad;
    add_drone(drone, rng);
    add_pad(pad, rng);
    Stereo dry = {std::vector<float>(N), std::vector<float>(N)};
    render(drone, dry);
    Stereo tonal = {std::vector<float>(N), std::vector<float>(N)};
    render(pad, tonal);
    add_bells(tonal);
    add_wind(dry, rng);

    Stereo mixed = dry;
    for (int64_t n = 0; n < N; ++n) mixed.l[n] += tonal.l[n], mixed.r[n] += tonal.r[n];
    add_reverb(mixed, tonal);

    float peak = 0;
    for (int64_t n = 0; n < N; ++n)
        peak = std::max({peak, std::fabs(mixed.l[n]), std::fabs(mixed.r[n])});
    std::vector<float> out(2 * N);
    for (int64_t n = 0; n < N; ++n) {
        out[2 * n] = mixed.l[n] * 0.8f / peak;
        out[2 * n + 1] = mixed.r[n] * 0.8f / peak;
    }
    return out;
}
