// Screenshots on disk: the PNG holds exactly the pixels given, a second one
// in the same second never replaces the first, and a folder that cannot be
// made leaves nothing behind.
#include "screenshot.h"

#include <SDL2/SDL_image.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Screenshot, ThePngHoldsTheFramesPixelsUnderANewName) {
    char tmp[] = "/tmp/drevix-shot-XXXXXX";
    fs::path dir = fs::path(mkdtemp(tmp)) / "Pictures" / "Drevix Raycaster";
    std::vector<unsigned char> rgb(7 * 5 * 3);
    for (size_t i = 0; i < rgb.size(); i++) rgb[i] = static_cast<unsigned char>(i * 37);
    std::string first, second, why;
    ASSERT_TRUE(save_screenshot(rgb, 7, 5, dir.string(), &first, &why)) << why;
    ASSERT_TRUE(save_screenshot(rgb, 7, 5, dir.string(), &second, &why)) << why;
    EXPECT_EQ(first.rfind("drevix-raycaster-", 0), 0u);
    EXPECT_EQ(first.size(), std::string("drevix-raycaster-YYYYMMDD-HHMMSS.png").size());
    EXPECT_NE(first, second);
    SDL_Surface *s = IMG_Load((dir / first).c_str());
    ASSERT_NE(s, nullptr);
    SDL_Surface *rgb24 = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
    ASSERT_EQ(rgb24->w, 7);
    for (int y = 0; y < 5; y++)
        EXPECT_EQ(std::memcmp(static_cast<unsigned char *>(rgb24->pixels) + y * rgb24->pitch,
                              &rgb[y * 7 * 3], 7 * 3),
                  0)
            << "row " << y;
    SDL_FreeSurface(rgb24);
    SDL_FreeSurface(s);
    fs::remove_all(dir.parent_path().parent_path());
}

TEST(Screenshot, AFolderThatCannotBeMadeLeavesNoFile) {
    char tmp[] = "/tmp/drevix-shot-XXXXXX";
    fs::path base = mkdtemp(tmp);
    std::ofstream(base / "Pictures") << "a file where the folder goes\n";
    std::vector<unsigned char> rgb(4 * 4 * 3, 200);
    std::string name, why;
    EXPECT_FALSE(
        save_screenshot(rgb, 4, 4, (base / "Pictures" / "Drevix Raycaster").string(), &name, &why));
    EXPECT_EQ(why, "Not a directory");
    int files = 0;
    for ([[maybe_unused]] const auto &e : fs::recursive_directory_iterator(base)) files++;
    EXPECT_EQ(files, 1); // the file that was there, nothing else
    fs::remove_all(base);
}
