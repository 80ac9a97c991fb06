// The footstep and the music as the game's mixer gets them: formats, lengths,
// that there is sound in them, and that the music loops without a gap or a
// click.
#include "pixels.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <mutex>

namespace {

TEST(Footstep, IsAShort16BitWavAt44100Hz) {
    SDL_AudioSpec audio;
    Uint8 *buf = nullptr;
    Uint32 len = 0;
    ASSERT_NE(SDL_LoadWAV(asset_path("sounds/step5.wav").c_str(), &audio, &buf, &len), nullptr)
        << SDL_GetError();
    EXPECT_EQ(audio.format, AUDIO_S16LSB);
    EXPECT_EQ(audio.freq, 44100);
    ASSERT_TRUE(audio.channels == 1 || audio.channels == 2);
    double seconds = static_cast<double>(len) / (2.0 * audio.channels * audio.freq);
    EXPECT_GE(seconds, 0.15);
    EXPECT_LE(seconds, 0.25);
    SDL_FreeWAV(buf);
}

TEST(Footstep, HasBodyAndGritAndStartsAndEndsQuietly) {
    SDL_AudioSpec audio;
    Uint8 *buf = nullptr;
    Uint32 len = 0;
    ASSERT_NE(SDL_LoadWAV(asset_path("sounds/step5.wav").c_str(), &audio, &buf, &len), nullptr);
    const Sint16 *s = reinterpret_cast<const Sint16 *>(buf);
    const size_t n = len / 2 / audio.channels;
    auto at = [&](size_t i) { return static_cast<double>(s[i * audio.channels]); };

    // Split into a slow part (a 2 ms moving average: the thud) and the rest
    // (the grit); both must carry a fair share of the energy.
    const size_t span = 88;
    double total = 0, low = 0, high = 0, peak = 0, window = 0;
    for (size_t i = 0; i < n; ++i) {
        window += at(i) - (i >= span ? at(i - span) : 0);
        double slow = window / span;
        double fast = at(i) - slow;
        total += at(i) * at(i), low += slow * slow, high += fast * fast;
        peak = std::max(peak, std::fabs(at(i)));
    }
    EXPECT_GT(peak, 8000);
    EXPECT_GT(std::sqrt(total / n), 1000);
    EXPECT_GT(low / total, 0.1) << "no thud";
    EXPECT_GT(high / total, 0.1) << "no grit";
    EXPECT_LT(std::fabs(at(0)), 1000);
    for (size_t i = n - 10; i < n; ++i) EXPECT_LT(std::fabs(at(i)), 200) << i;
    SDL_FreeWAV(buf);
}

// Frame length in bytes of an MPEG-1 layer III frame header, 0 if not one.
size_t mp3_frame_length(const uint8_t *h) {
    static constexpr int kbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                     112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int rates[4] = {44100, 48000, 32000, 0};
    if (h[0] != 0xff || (h[1] & 0xfe) != 0xfa) return 0; // sync, MPEG-1, layer III
    int bitrate = kbps[h[2] >> 4], rate = rates[(h[2] >> 2) & 3];
    if (!bitrate || !rate) return 0;
    return 144 * bitrate * 1000 / rate + ((h[2] >> 1) & 1);
}

TEST(Music, IsARealMp3At44100Hz) {
    std::ifstream file(asset_path("sounds/bgmusic.mp3"), std::ios::binary);
    std::vector<uint8_t> b{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_GT(b.size(), 100000u);
    size_t at = 0;
    if (b[0] == 'I' && b[1] == 'D' && b[2] == '3') // skip an ID3v2 tag
        at = 10 + (b[6] << 21 | b[7] << 14 | b[8] << 7 | b[9]);
    // A run of frames, each header where the previous frame's length says.
    int frames = 0;
    while (at + 4 <= b.size() && frames < 200) {
        size_t len = mp3_frame_length(&b[at]);
        ASSERT_NE(len, 0u) << "no frame header at byte " << at;
        EXPECT_EQ((b[at + 2] >> 2) & 3, 0) << "not 44100 Hz";
        at += len;
        ++frames;
    }
    EXPECT_EQ(frames, 200);
}

class Mixer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        // As the game opens it.
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 512), 0) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

TEST_F(Mixer, LoadsTheFootstepAsAChunk) {
    Mix_Chunk *step = Mix_LoadWAV(asset_path("sounds/step5.wav").c_str());
    ASSERT_NE(step, nullptr) << Mix_GetError();
    Mix_FreeChunk(step);
}

TEST_F(Mixer, LoadsTheMusicAsAnMp3OfHalfAMinuteToAMinute) {
    Mix_Music *music = Mix_LoadMUS(asset_path("sounds/bgmusic.mp3").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_MP3);
    double seconds = Mix_MusicDuration(music);
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 60.0);
    Mix_FreeMusic(music);
}

std::mutex capture_lock;
std::vector<Sint16> captured;

void capture(void *, Uint8 *stream, int len) {
    std::lock_guard<std::mutex> hold(capture_lock);
    const Sint16 *s = reinterpret_cast<const Sint16 *>(stream);
    captured.insert(captured.end(), s, s + len / 2);
}

TEST_F(Mixer, MusicRunsOnAcrossItsLoopPointWithoutAGapOrAClick) {
    Mix_Music *music = Mix_LoadMUS(asset_path("sounds/bgmusic.mp3").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    const double seconds = Mix_MusicDuration(music);
    // Play as the game does (looping for ever) from just before the end, and
    // listen to what the mixer puts out.
    ASSERT_EQ(Mix_PlayMusic(music, -1), 0);
    ASSERT_EQ(Mix_SetMusicPosition(seconds - 0.6), 0);
    Mix_SetPostMix(capture, nullptr);
    const size_t wanted = 2 * 44100 * 12 / 10; // 1.2 s of stereo frames
    for (int waited = 0; waited < 10000; waited += 50) {
        SDL_Delay(50);
        std::lock_guard<std::mutex> hold(capture_lock);
        if (captured.size() >= wanted) break;
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    ASSERT_GE(captured.size(), wanted);

    for (int channel = 0; channel < 2; ++channel) {
        std::vector<double> x;
        for (size_t i = channel; i < wanted; i += 2) x.push_back(captured[i]);
        // No stretch of near silence: every 20 ms keeps a good part of the level.
        std::vector<double> levels;
        for (size_t i = 0; i + 882 <= x.size(); i += 882) {
            double sum = 0;
            for (size_t k = i; k < i + 882; ++k) sum += x[k] * x[k];
            levels.push_back(std::sqrt(sum / 882));
        }
        std::vector<double> sorted = levels;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_GT(sorted.front(), 0.2 * sorted[sorted.size() / 2])
            << "a gap in channel " << channel;
        EXPECT_GT(sorted[sorted.size() / 2], 500.0) << "near silent";
        // No jump much bigger than the music's own sample-to-sample steps.
        std::vector<double> steps;
        for (size_t i = 1; i < x.size(); ++i) steps.push_back(std::fabs(x[i] - x[i - 1]));
        std::vector<double> sorted_steps = steps;
        std::sort(sorted_steps.begin(), sorted_steps.end());
        double p99 = sorted_steps[sorted_steps.size() * 99 / 100];
        EXPECT_LT(sorted_steps.back(), 4.0 * p99) << "a click in channel " << channel;
    }
}

} // namespace
