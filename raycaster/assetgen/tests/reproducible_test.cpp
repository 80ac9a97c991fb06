// Running the generator again gives the very same bytes as the build did:
// the assets are reproducible.
#include "pixels.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace {

std::string read_all(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Generator, MakesTheSameBytesOnEveryRun) {
    namespace fs = std::filesystem;
    fs::path out = fs::temp_directory_path() / ("assetgen-test-" + std::to_string(getpid()));
    fs::remove_all(out);
    std::string command = std::string("\"") + ASSETGEN + "\" \"" + out.string() + "\" \"" +
                          (out / "music.wav").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    int compared = 0;
    for (const fs::directory_entry &e : fs::recursive_directory_iterator(out)) {
        if (!e.is_regular_file()) continue;
        fs::path rel = fs::relative(e.path(), out);
        fs::path built = rel == "music.wav" ? fs::path(MUSIC_WAV) : fs::path(ASSET_DIR) / rel;
        EXPECT_TRUE(read_all(e.path()) == read_all(built)) << rel << " differs from " << built;
        ++compared;
    }
    EXPECT_EQ(compared, 11); // ten asset files and the music before encoding
    fs::remove_all(out);
}

} // namespace
