#include "user_dirs.h"

#include <string_view>

// The value of one line of user-dirs.dirs when it sets the pictures folder:
// blanks may lead and surround the '=', the value is "$HOME", "$HOME/..." or
// an absolute path in quotes, and a backslash takes the next character as
// it is. Empty for any other line.
static std::string pictures_line(std::string_view line, const std::string &home) {
    auto skip = [&](std::string_view what) {
        while (line.starts_with(' ') || line.starts_with('\t')) line.remove_prefix(1);
        if (!line.starts_with(what)) return false;
        line.remove_prefix(what.size());
        return true;
    };
    if (!skip("XDG_PICTURES_DIR") || !skip("=") || !skip("\"")) return "";
    std::string value;
    if (line.starts_with("$HOME/") || line.starts_with("$HOME\"")) {
        if (home.empty()) return "";
        value = home;
        line.remove_prefix(5);
    } else if (!line.starts_with('/')) {
        return "";
    }
    for (size_t i = 0; i < line.size() && line[i] != '"'; i++) {
        if (line[i] == '\\' && i + 1 < line.size()) i++;
        value += line[i];
    }
    return value;
}

std::string pictures_dir_from(const char *xdg_pictures, const char *home, const char *user_dirs) {
    if (xdg_pictures && *xdg_pictures == '/') return xdg_pictures;
    const std::string h = home ? home : "";
    std::string found; // the last line that sets it counts
    std::string_view text = user_dirs ? user_dirs : "";
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string value = pictures_line(text.substr(0, nl), h);
        if (!value.empty()) found = value;
        text = nl == text.npos ? std::string_view() : text.substr(nl + 1);
    }
    if (!found.empty()) return found;
    return h.empty() ? "" : h + "/Pictures";
}

std::string shown_folder(const std::string &dir) {
    const std::string home = home_folder_path();
    if (home.size() > 1 && (dir == home || (dir.starts_with(home) && dir.size() > home.size() &&
                                            dir[home.size()] == FOLDER_SEPARATOR))) {
        // Appending to "~" rather than prefixing it spares GCC 12 a false -Wrestrict.
        std::string shown = "~";
        shown.append(dir, home.size());
        return shown;
    }
    return dir;
}
