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

std::string pictures_dir() {
    const std::string home = home_folder_path();
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string config_dir = config && *config ? config : home.empty() ? "" : home + "/.config";
    std::string user_dirs =
        config_dir.empty() ? "" : read_small_file(config_dir + "/user-dirs.dirs");
    return pictures_dir_from(std::getenv("XDG_PICTURES_DIR"), home.c_str(), user_dirs.c_str());
}

std::string data_folder() {
    // A relative XDG_DATA_HOME is invalid and ignored, like an empty one.
    const char *data = std::getenv("XDG_DATA_HOME");
    std::string dir = data && data[0] == '/' ? data : "";
    if (dir.empty()) {
        std::string home = home_folder_path();
        if (home.empty()) return "";
        dir = home + "/.local/share";
    }
    return dir + "/drevix-raycaster";
}
