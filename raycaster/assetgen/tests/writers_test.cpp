// The PNG, ICO and WAV writers read back through SDL exactly as written:
// every filter, the alpha channel, the bottom-up rows and the clipping.
#include "ico_write.h"
#include "noise.h"
#include "png_write.h"
#include "wav_write.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

namespace {

// Smooth gradients (which favour the predicting filters) beside noise
// (which favours none), in an odd size, with alpha.
Image test_card(int w, int h) {
    Image img = image_make(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixel(img, x, y) = x < w / 2
                                   ? Rgba{x / float(w), y / float(h), 0.5f, 1.0f - x / float(w)}
                                   : Rgba{hash_unit(x, y, 1), hash_unit(x, y, 2),
                                          hash_unit(x, y, 3), hash_unit(x, y, 4)};
    return img;
}

SDL_Surface *load(const std::vector<uint8_t> &bytes) {
    SDL_Surface *loaded = IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
    if (!loaded) return nullptr;
    SDL_Surface *rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    return rgba;
}

void expect_same_pixels(const Image &img, SDL_Surface *s, bool alpha) {
    ASSERT_NE(s, nullptr) << SDL_GetError();
    ASSERT_EQ(s->w, img.w);
    ASSERT_EQ(s->h, img.h);
    int wrong = 0;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            const uint8_t *t = static_cast<uint8_t *>(s->pixels) + y * s->pitch + x * 4;
            const Rgba &p = pixel(img, x, y);
            wrong += t[0] != to_byte(p.r) || t[1] != to_byte(p.g) || t[2] != to_byte(p.b) ||
                     t[3] != (alpha ? to_byte(p.a) : 255);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(PngWriter, RoundTripsEveryPixelWithAndWithoutAlpha) {
    Image img = test_card(37, 23);
    for (bool alpha : {true, false}) {
        SDL_Surface *s = load(png_encode(img, alpha));
        expect_same_pixels(img, s, alpha);
        SDL_FreeSurface(s);
    }
}

TEST(IcoWriter, IconAndCursorRoundTripTheRightWayUpWithAlpha) {
    // 40 wide: the 1-bit mask rows need padding to whole 32-bit words.
    Image img = test_card(40, 40);
    // The game's loader takes alpha from the colour data only where the mask
    // says so: the mask must cover every translucent pixel and leave the
    // opaque ones, such as this bottom row, alone.
    for (int x = 0; x < 40; ++x) pixel(img, x, 39).a = 1.0f;
    for (uint16_t type : {ICO_TYPE_ICON, ICO_TYPE_CURSOR}) {
        SDL_Surface *s = load(ico_encode(img, type));
        expect_same_pixels(img, s, true);
        SDL_FreeSurface(s);
    }
}

TEST(WavWriter, RoundTripsSamplesAndClipsOverflow) {
    std::vector<float> samples = {0.0f, 0.5f, -0.5f, 1.5f, -1.5f, 1.0f / 32767};
    std::vector<uint8_t> bytes = wav_encode(samples, 2, 22050);
    SDL_AudioSpec audio;
    Uint8 *buf = nullptr;
    Uint32 len = 0;
    ASSERT_NE(
        SDL_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1, &audio, &buf, &len),
        nullptr)
        << SDL_GetError();
    EXPECT_EQ(audio.freq, 22050);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.format, AUDIO_S16LSB);
    ASSERT_EQ(len, samples.size() * 2);
    const Sint16 *s = reinterpret_cast<const Sint16 *>(buf);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], 16384);
    EXPECT_EQ(s[2], -16384);
    EXPECT_EQ(s[3], 32767);
    EXPECT_EQ(s[4], -32767);
    EXPECT_EQ(s[5], 1);
    SDL_FreeWAV(buf);
}

} // namespace
