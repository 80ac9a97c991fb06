#include "user_dirs.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

static std::string read_small_file(const std::string &path) {
    std::string text;
    if (FILE *f = std::fopen(path.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() < 65536)
            text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

std::string home_folder_path() {
    const char *home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd *pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

// $VARIABLE, else HOME/fallback; a relative value is invalid and ignored,
// like an empty one. Empty when there is no home folder either.
static std::string base_folder(const char *variable, const char *fallback) {
    const char *value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    std::string home = home_folder_path();
    return home.empty() ? "" : home + fallback;
}

std::string pictures_dir() {
    const std::string home = home_folder_path();
    std::string config_dir = base_folder("XDG_CONFIG_HOME", "/.config");
    std::string user_dirs =
        config_dir.empty() ? "" : read_small_file(config_dir + "/user-dirs.dirs");
    return pictures_dir_from(std::getenv("XDG_PICTURES_DIR"), home.c_str(), user_dirs.c_str());
}

std::string data_folder() {
    std::string dir = base_folder("XDG_DATA_HOME", "/.local/share");
    return dir.empty() ? "" : dir + "/drevix-raycaster";
}

std::string settings_file_path() {
    std::string dir = base_folder("XDG_CONFIG_HOME", "/.config");
    return dir.empty() ? "" : dir + "/drevix-raycaster/settings.ini";
}
