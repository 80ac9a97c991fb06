// The journey: its cells, markers and figures through the file on disk (in
// a private XDG_DATA_HOME) and back, and a text the game cannot use.
#include "fresh_world.h"
#include "journey.h"
#include "journey_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string read_all(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A journey over chunks on both sides of zero, walls and floor, markers.
void sample_journey() {
    journey_reset(3, 2);
    for (int y = -30; y < 30; y += 7)
        for (int x = -60; x < 40; x += 3) journey_explore(x, y, (x + y) % 2 != 0);
    journey_explore(24, 24, 1); // the last cell of a chunk: its highest bit
    journey_toggle_marker(5, 2);
    journey_toggle_marker(-26, -1);
    journey_seconds = 1234.5;
    journey_distance = 321.25;
    journey_walk(3.5, 2.5, 40.5, 2.5); // 37 cells from the first cell's centre
}

TEST(Journey, ChunkBitsPackIntoBase64AndRefuseWhatIsNotAChunk) {
    uint64_t all[JOURNEY_WORDS], back[JOURNEY_WORDS];
    for (uint64_t &w : all) w = ~uint64_t{0};
    all[JOURNEY_WORDS - 1] = (uint64_t{1} << (CHUNK_SIZE * CHUNK_SIZE % 64)) - 1;
    std::string text = journey_pack(all);
    EXPECT_EQ(text.size(), 108u); // 625 bits in 79 bytes
    ASSERT_TRUE(journey_unpack(text, back));
    EXPECT_TRUE(std::equal(all, all + JOURNEY_WORDS, back));
    std::string past_the_end = text;
    past_the_end[104] = '/'; // bits of cells no chunk has
    EXPECT_FALSE(journey_unpack(past_the_end, back));
    EXPECT_FALSE(journey_unpack(text.substr(1), back));
    std::string bad = text;
    bad[3] = '*';
    EXPECT_FALSE(journey_unpack(bad, back));
}

TEST(Journey, MarkersToggleKeepTheirNumbersAndStopAtAHundred) {
    journey_reset(0, 0);
    EXPECT_EQ(journey_toggle_marker(1, 1), MARKER_SET);
    EXPECT_EQ(journey_toggle_marker(2, 1), MARKER_SET);
    EXPECT_EQ(journey_toggle_marker(1, 1), MARKER_REMOVED);
    EXPECT_EQ(journey_toggle_marker(3, 1), MARKER_SET);
    ASSERT_EQ(marker_count, 2);
    EXPECT_EQ(markers[0].number, 2);
    EXPECT_EQ(markers[1].number, 3); // numbers go on in the order they were set
    for (int i = 0; marker_count < MAX_MARKERS; i++) journey_toggle_marker(100 + i, 0);
    EXPECT_EQ(journey_toggle_marker(-5, -5), MARKERS_FULL);
    EXPECT_EQ(marker_at(-5, -5), nullptr);
    EXPECT_EQ(journey_toggle_marker(100, 0), MARKER_REMOVED); // taking one away still works
}

TEST(Journey, ATextTheGameCannotUseSaysWhichLineAndLeavesAFreshJourney) {
    sample_journey();
    std::string good = journey_format({1.5, 2.5, 0, 0, 0});
    struct Case {
        std::string text;
        int line;
    } cases[] = {
        {"position = 1 2\n", 0},                                // no version
        {"version = 2\nposition = 1 2\n", 1},                   // a later game's
        {"version = 1\n\nposition = 1 x\n", 3},                 // not a number
        {"version = 1\nposition = 1 2\nmarker = 1 2\n", 3},     // too few
        {"version = 1\nposition = 1 2\npitch = 2\n", 3},        // past straight up
        {"version = 1\nposition = 1 2\nchunk = 0 0 AAAA\n", 3}, // too short
        {"version = 1\njust words\n", 2},
        {good + good.substr(good.find("chunk =")), 0}, // a chunk twice
    };
    for (const Case &c : cases) {
        JourneyPlace p{};
        int line = -1;
        std::string why;
        EXPECT_FALSE(journey_parse(c.text, &p, &line, &why)) << c.text;
        if (c.line) {
            EXPECT_EQ(line, c.line) << c.text << why;
        }
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(journey_chunk_count, 0);
        EXPECT_EQ(marker_count, 0);
    }
}

class JourneyFile : public FreshWorld {
  protected:
    fs::path dir, file;
    void SetUp() override {
        FreshWorld::SetUp();
        char tmp[] = "/tmp/drevix-journey-XXXXXX";
        dir = mkdtemp(tmp);
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
        file = dir / "drevix-raycaster" / "journey.ini";
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        unsetenv("XDG_DATA_HOME");
        journey_path.clear();
        fs::remove_all(dir);
    }
};

TEST_F(JourneyFile, EveryCellMarkerAndFigureComesBackAtTheNextStart) {
    std::string warning;
    journey_load(&warning);
    EXPECT_FALSE(journey_found);
    EXPECT_EQ(journey_path, file.string());
    sample_journey();
    const long cells = journey_explored_cells();
    std::string message;
    ASSERT_TRUE(journey_save({-12.25, 7.5, -3.75, 0.25, 1}, &message)) << message;

    journey_reset(0, 0);
    journey_load(&warning);
    EXPECT_TRUE(journey_found);
    EXPECT_TRUE(warning.empty()) << warning;
    EXPECT_EQ(journey_explored_cells(), cells);
    EXPECT_TRUE(journey_explored(24, 24));
    EXPECT_TRUE(journey_explored(-60, -30));
    EXPECT_FALSE(journey_explored(-59, -30));
    EXPECT_EQ(journey_first_x, 3);
    EXPECT_EQ(journey_first_y, 2);
    ASSERT_EQ(marker_count, 2);
    EXPECT_EQ(markers[1].x, -26);
    EXPECT_EQ(markers[1].number, 2);
    EXPECT_DOUBLE_EQ(journey_seconds, 1234.5);
    EXPECT_DOUBLE_EQ(journey_distance, 321.25 + 37);
    EXPECT_DOUBLE_EQ(journey_farthest, 37);
    const JourneyPlace &back = journey_saved_place;
    EXPECT_DOUBLE_EQ(back.x, -12.25);
    EXPECT_DOUBLE_EQ(back.heading, -3.75);
    EXPECT_DOUBLE_EQ(back.pitch, 0.25);
    EXPECT_EQ(back.flashlight, 1);
    EXPECT_EQ(journey_format(back), read_all(file)); // nothing lost, nothing added
}

TEST_F(JourneyFile, AFailedWriteSaysNotSavedWithThePathAndTheReason) {
    std::ofstream(dir / "drevix-raycaster") << "a file where the folder goes\n";
    std::string warning, message;
    journey_load(&warning);
    EXPECT_FALSE(journey_save({9.5, 2.5, 0, 0, 0}, &message));
    EXPECT_EQ(message.rfind("NOT SAVED: " + file.string() + ": ", 0), 0u) << message;
    EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
    EXPECT_FALSE(warning.empty()); // the menu says so
    EXPECT_EQ(read_all(dir / "drevix-raycaster"), "a file where the folder goes\n");
}

} // namespace
