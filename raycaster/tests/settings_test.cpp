// The settings file as the game reads and writes it in a private
// XDG_CONFIG_HOME: what survives a save, what a broken file gives, and that
// a failed write never costs the old file.
#include "bindings.h"
#include "settings.h"
#include "settings_file.h"

#include <SDL2/SDL_gamecontroller.h>
#include <SDL2/SDL_keyboard.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
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

// What a careless editor or a hostile machine leaves in the file: what the
// game reports, and the line it writes for the setting afterwards.
TEST_F(SettingsFile, HostileFilesAreReportedTrulyAndKeepTheDefault) {
    const struct {
        std::string text, report, line;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "field_of_view = 80\n",
         "", "field_of_view = 80"},
        {std::string("field_of_view\0 = 70\n", 20), ":1: contains a NUL byte",
         "field_of_view = 60"},
        {std::string("head_bob = false\0\n", 18), ":1: contains a NUL byte", "head_bob = true"},
        {std::string("brightness = 50\0junk\n", 21), ":1: contains a NUL byte", "brightness = 0"},
        {"brightness = 50 junk\n", "brightness: \"50 junk\" is not a number", "brightness = 0"},
        {"window_height = 600.5\n", "window_height: 600.5 is not a whole number",
         "window_height = 600"},
        {"render_scale = 40\n", "render_scale: 40 is not one of 100, 75, 50, 33",
         "render_scale = 100"},
        {"key_chat = Keypad ,\n", "", "key_chat = \"Keypad ,\""},
        {"key_chat = \",\", T\nkey_forward = W, Up\n", "", "key_chat = \",\", T"},
        {"key_chat = \"\"\"\"\n", "", "key_chat = \"\"\"\""},
        {std::string("\xFF\xFEk\0e\0y\0", 8), "cannot read (not UTF-8 text)", "key_chat = T"},
        {std::string((1 << 20) + 1, '#'), "cannot read (larger than 1 MiB)", "head_bob = true"},
    };
    for (const auto &c : cases) {
        write(c.text);
        std::string err = load_reporting();
        if (c.report.empty())
            EXPECT_EQ(err, "") << c.text;
        else
            EXPECT_NE(err.find(c.report), std::string::npos) << c.text << " gave " << err;
        EXPECT_NE(settings_format("").find("\n" + c.line + "\n"), std::string::npos)
            << c.text << " gave " << settings_format("");
    }

    // After a save the BOM is still there, and the key once behind it is
    // not written twice.
    write("\xEF\xBB\xBF"
          "field_of_view = 80\n");
    settings_load();
    field_of_view = 70;
    std::string message;
    ASSERT_TRUE(settings_save(&message)) << message;
    EXPECT_EQ(read().rfind("\xEF\xBB\xBF"
                           "field_of_view = 70\n",
                           0),
              0u)
        << read();
    EXPECT_EQ(read().find("field_of_view", 20), std::string::npos) << read();
}

TEST_F(SettingsFile, EveryKeySdlNamesIsBoundWrittenAndReadBack) {
    int checked = 0;
    for (int sc = 1; sc < SDL_NUM_SCANCODES; sc++)
        for (Action a : {ACTION_FORWARD, ACTION_CHAT}) {
            auto code = static_cast<SDL_Scancode>(sc);
            int key = a == ACTION_FORWARD ? sc : SDL_GetKeyFromScancode(code), out[2];
            std::string name = key_name(a, key), why, sdl = SDL_GetScancodeName(code);
            if (sdl.empty() || SDL_GetScancodeFromName(sdl.c_str()) != code) continue;
            if (!parse_keys(a, name, out, &why)) { // as the menu asks: only Esc and O refused
                EXPECT_NE(why.find(" always "), std::string::npos) << name << ": " << why;
                continue;
            }
            settings_reset();
            action_keys[a][0] = key;
            std::string text = settings_format("");
            settings_reset();
            EXPECT_TRUE(settings_parse(text).empty() && action_keys[a][0] == key) << name;
            checked++;
        }
    EXPECT_GT(checked, 400);
}

// The game writes only what it would read again, and never over a file it
// could not read: that one is moved aside whole.
TEST_F(SettingsFile, ALargeOrUnreadableFileIsNeverLost) {
    std::string edge = std::string(65536 - 20, '#') + "\nfield_of_view = 55\n";
    write(edge);
    settings_load();
    field_of_view = 90;
    std::string message;
    ASSERT_TRUE(settings_save(&message)) << message;
    EXPECT_GT(read().size(), 65536u);
    EXPECT_EQ(load_reporting(), "");
    EXPECT_EQ(field_of_view, 90);

    std::string full = std::string((1 << 20) - 40, '#') + "\nfield_of_view = 55\n";
    write(full);
    settings_load();
    field_of_view = 90; // the missing lines would take it past the limit
    EXPECT_FALSE(settings_save(&message));
    EXPECT_EQ(message, "NOT SAVED: " + file.string() + ": the new text would be larger than 1 MiB");
    EXPECT_EQ(read(), full);

    std::string big = std::string(10 << 20, '#');
    write(big);
    settings_load();
    field_of_view = 70;
    EXPECT_TRUE(settings_save(&message) && read() == big) << "unchanged by the player: kept";
    settings_changed_by_player = 1;
    ASSERT_TRUE(settings_save(&message)) << message;
    fs::path moved = message.substr(message.find(" kept as ") + 9);
    EXPECT_EQ(moved.parent_path(), file.parent_path()) << message;
    EXPECT_EQ(moved.filename().string().rfind("settings-unreadable-", 0), 0u) << moved;
    EXPECT_EQ(fs::file_size(moved), big.size());
    settings_load();
    EXPECT_EQ(field_of_view, 70);
}

// Dotfiles kept in a folder of their own, linked into place.
TEST_F(SettingsFile, ALinkStaysALinkAndStaleTemporaryFilesGo) {
    fs::create_directories(dir / "dotfiles");
    fs::create_directories(file.parent_path());
    std::ofstream(dir / "dotfiles" / "settings.ini") << "field_of_view = 55\n";
    fs::permissions(dir / "dotfiles" / "settings.ini", fs::perms(0644));
    fs::create_symlink("../dotfiles/settings.ini", file);
    auto temp = [&](const std::string &name, int age) {
        fs::path p = dir / "dotfiles" / name; // temporary files go beside the target
        std::ofstream(p) << "x";
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::seconds(age));
        return p;
    };
    fs::path stale = temp("settings.ini.new-a8Kf2Q", 120),
             young = temp("settings.ini.new-b9Lg3R", 5), mine = temp("settings.ini.backup", 120);
    settings_load();
    field_of_view = 80;
    std::string message;
    ASSERT_TRUE(settings_save(&message)) << message;
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(read(), settings_format("field_of_view = 55\n"));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0644));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(young)) << "another game may be writing it";
    EXPECT_TRUE(fs::exists(mine));
}

} // namespace
