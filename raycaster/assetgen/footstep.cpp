// A footstep on grit: heel and toe thuds (falling low sines), a burst of
// band-limited scuff noise and a scatter of tiny grains crunching under the
// sole. Starts and ends at silence so it never clicks.
#include "footstep.h"

#include "config.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

constexpr double TWO_PI = 6.283185307179586;

// A sine sweeping from f0 to f1 under a fast attack and exponential decay.
static void add_thud(std::vector<float> &out, double start, double f0, double f1, double decay,
                     float gain) {
    double phase = 0;
    for (size_t i = static_cast<size_t>(start * SAMPLE_RATE); i < out.size(); ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE - start;
        double f = f1 + (f0 - f1) * std::exp(-t / 0.03);
        phase += TWO_PI * f / SAMPLE_RATE;
        double env = std::min(1.0, t / 0.004) * std::exp(-t / decay);
        out[i] += gain * static_cast<float>(env * std::sin(phase));
    }
}

std::vector<float> footstep() {
    const size_t count = static_cast<size_t>(STEP_SECONDS * SAMPLE_RATE);
    std::vector<float> out(count, 0.0f);
    add_thud(out, 0.0, 120.0, 58.0, 0.035, 0.45f);
    add_thud(out, 0.048, 95.0, 52.0, 0.03, 0.3f);

    // Scuff: white noise through a crude band-pass (two one-pole filters).
    Rng rng = rng_make(SEED_STEP);
    float low = 0, lower = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / SAMPLE_RATE;
        float white = rng_unit(rng) * 2.0f - 1.0f;
        low += 0.55f * (white - low);   // cut above about 5 kHz
        lower += 0.06f * (low - lower); // and below about 450 Hz
        // The heel's burst, then a softer swell as the toe comes down.
        double env = std::min(1.0, t / 0.003) *
                     (std::exp(-t / 0.04) + 0.35 * std::exp(-(t - 0.05) * (t - 0.05) / 0.0004));
        out[i] += static_cast<float>(1.3 * env) * (low - lower);
    }

    // Grit: short decaying clicks, denser early in the step.
    for (int grain = 0; grain < 90; ++grain) {
        double t = 0.12 * std::pow(rng_unit(rng), 1.6);
        float gain = rng_range(rng, 0.03f, 0.16f) * (rng_unit(rng) < 0.5f ? -1.0f : 1.0f);
        size_t at = static_cast<size_t>(t * SAMPLE_RATE);
        float ring = rng_range(rng, 0.55f, 0.85f);
        float v = gain;
        for (size_t i = at; i < std::min(count, at + 90); ++i) {
            out[i] += v;
            v *= -ring; // alternating sign: a bright, very short tick
        }
    }

    // Soften the top a touch, then fade the last 15 ms to silence.
    float smooth = 0;
    const size_t fade = static_cast<size_t>(0.015 * SAMPLE_RATE);
    float peak = 0;
    for (size_t i = 0; i < count; ++i) {
        smooth += 0.6f * (out[i] - smooth);
        out[i] = smooth;
        if (i + fade > count) out[i] *= static_cast<float>(count - i) / fade;
        peak = std::max(peak, std::fabs(out[i]));
    }
    for (float &s : out) s *= 0.7f / peak;
    return out;
}
