// The settings file as the game reads and writes it in a private
// XDG_CONFIG_HOME: what survives a save, what a broken file gives, and that
// a failed write never costs the old file.
#include "bindings.h"
#include "settings.h"
#include "settings_file.h"

#include <SDL2/SDL_gamecontroller.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    fs::path dir, file;
    std::string defaults;
    void SetUp() override {
        char tmp[] = "/tmp/drevix-settings-XXXXXX";
        dir = mkdtemp(tmp);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        file = dir / "drevix-raycaster" / "settings.ini";
        settings_reset();
        defaults = settings_format("");
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dir);
        settings_reset();
    }
    void write(const std::string &text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    std::string read() {
        std::ostringstream s;
        s << std::ifstream(file, std::ios::binary).rdbuf();
        return s.str();
    }
    std::string load_reporting() {
        testing::internal::CaptureStderr();
        settings_load();
        return testing::internal::GetCapturedStderr();
    }
};

TEST_F(SettingsFile, EverySettingSurvivesASaveWithTheLinesTheGameDoesNotKnow) {
    write("# my own note\nfuture_option = 7\r\nfield_of_view = 70\n");
    std::string err = load_reporting();
    EXPECT_NE(err.find(file.string() + ":2: future_option: unknown key"), std::string::npos) << err;
    EXPECT_EQ(field_of_view, 70);
    EXPECT_EQ(settings_broken, 0) << "an unknown key is no reason to keep the file as it is";

    for (int i = 0; i < SETTING_COUNT; i++) // every one away from its default
        set_setting_value(SETTINGS[i], SETTINGS[i].kind == SETTING_CHOICE ? SETTINGS[i].choices[2]
                                       : SETTINGS[i].initial == SETTINGS[i].hi ? SETTINGS[i].lo
                                                                               : SETTINGS[i].hi);
    bind_key(ACTION_FLASHLIGHT, 1, SDLK_l);
    bind_button(ACTION_DOOR, SDL_CONTROLLER_BUTTON_B);
    std::string message, changed = settings_format("");
    ASSERT_TRUE(settings_save(&message)) << message;
    EXPECT_EQ(read().rfind("# my own note\nfuture_option = 7\r\nfield_of_view = 90\n", 0), 0u)
        << read();

    settings_reset();
    EXPECT_EQ(load_reporting().find("field_of_view"), std::string::npos);
    EXPECT_EQ(settings_format(""), changed);
    EXPECT_EQ(format_keys(ACTION_FLASHLIGHT), "Q, L");
    EXPECT_STREQ(button_name(action_pad[ACTION_DOOR]), "b");
}

TEST_F(SettingsFile, ABrokenFileGivesDefaultsAndIsLeftAloneUntilThePlayerChangesSomething) {
    std::string broken =
        "brightness = 300\nhead_bob = maybe\n\xff\xfe junk\nmouse_sensitivity 2\n"
        "key_map = Nokey\nkey_flashlight = O\npad_door = start\nrender_scale = 40\n";
    write(broken);
    std::string err = load_reporting();
    for (int line = 1; line <= 8; line++)
        EXPECT_NE(err.find(file.string() + ":" + std::to_string(line) + ": "), std::string::npos)
            << "line " << line << " not reported: " << err;
    EXPECT_EQ(settings_format(""), defaults);

    window_width = 1200; // the window's size at quit is not worth a broken file
    std::string message;
    EXPECT_TRUE(settings_save(&message));
    EXPECT_EQ(read(), broken);
    settings_changed_by_player = 1;
    EXPECT_TRUE(settings_save(&message));
    EXPECT_EQ(read().rfind("brightness = 0\nhead_bob = true\n\xff\xfe junk\n", 0), 0u) << read();

    write(std::string((1 << 20) + 1, 'x'));
    EXPECT_NE(load_reporting().find("larger than 1 MiB"), std::string::npos);
    fs::remove(file);
    fs::create_directory(file); // unreadable, whoever runs the test
    EXPECT_NE(load_reporting().find("cannot read"), std::string::npos);
    EXPECT_EQ(settings_format(""), defaults);
}

TEST_F(SettingsFile, NothingIsWrittenWithoutAChangeAndAFailedWriteKeepsTheOldFile) {
    settings_load();
    std::string message;
    EXPECT_TRUE(settings_save(&message));
    EXPECT_FALSE(fs::exists(file.parent_path())) << "no file until something changes";

    std::string old = "field_of_view = 55\n";
    write(old);
    settings_load();
    field_of_view = 80;
    pid_t child = fork();
    if (child == 0) { // a disk that fills up after 10 bytes
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{10, 10};
        setrlimit(RLIMIT_FSIZE, &limit);
        int saved = settings_save(&message);
        _exit(!saved && message == "NOT SAVED: " + file.string() + ": File too large" ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read(), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1)
        << "the half-written file is gone";
}

} // namespace
