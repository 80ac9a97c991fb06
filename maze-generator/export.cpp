#include "export.h"

#include "maze_route.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

static CellPos solution[MAZE_CELLS];

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

static std::string home_dir() {
    const char *home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd *pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

std::string pictures_dir() {
    const std::string home = home_dir();
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string config_dir = config && *config ? config : home.empty() ? "" : home + "/.config";
    std::string user_dirs =
        config_dir.empty() ? "" : read_small_file(config_dir + "/user-dirs.dirs");
    return pictures_dir_from(std::getenv("XDG_PICTURES_DIR"), home.c_str(), user_dirs.c_str());
}

// mkdir -p; 0 or the errno of the step that failed.
static int make_dirs(const std::string &dir) {
    for (size_t i = 1; i <= dir.size(); i++) {
        if (i < dir.size() && dir[i] != '/') continue;
        if (mkdir(dir.substr(0, i).c_str(), 0755) != 0 && errno != EEXIST) return errno;
    }
    struct stat st;
    if (stat(dir.c_str(), &st) != 0) return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

static bool exists(const std::string &path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

static int write_all(int fd, const std::string &text) {
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        done += size_t(n);
    }
    return 0;
}

// Writes the whole text and makes sure it is on the disk whole: a full disk
// or a size limit may show only at fsync or close, or as a short file.
static int write_file(int fd, const std::string &text) {
    int err = write_all(fd, text);
    struct stat st;
    // EINVAL: a file system that has nothing to sync.
    if (!err && fsync(fd) != 0 && errno != EINVAL) err = errno;
    if (!err && fstat(fd, &st) != 0) err = errno;
    if (!err && st.st_size != off_t(text.size())) err = EIO;
    if (close(fd) != 0 && !err) err = errno;
    return err;
}

// The folder as the user knows it, ~ for the home folder, cut from the left
// when the message around it takes all but room characters of the status
// line before the key help.
static std::string shown_folder(const std::string &dir, int room) {
    std::string shown = dir;
    const std::string home = home_dir();
    if (!home.empty() && home != "/" && (dir == home || dir.starts_with(home + "/")))
        shown = "~" + dir.substr(home.size());
    if (int(shown.size()) > room) {
        size_t keep = size_t(std::max(0, room - 3));
        std::string tail = shown.substr(shown.size() - std::min(shown.size(), keep));
        size_t slash = tail.find('/');
        shown = "..." + (slash == tail.npos ? tail : tail.substr(slash));
    }
    return shown;
}

static void failure(char (&message)[STATUS_BYTES], const std::string &dir, int err) {
    std::fprintf(stderr, "maze-generator: cannot save in %s: %s\n", dir.c_str(),
                 std::strerror(err));
    const std::string reason = std::strerror(err);
    const int fixed = int(std::strlen("NOT SAVED: : ") + reason.size());
    std::snprintf(message, sizeof message, "NOT SAVED: %s: %s",
                  shown_folder(dir, STATUS_FIT - fixed).c_str(), reason.c_str());
}

bool export_maze(const Maze &m, int algo, const std::string &dir, EncodePngFn encode_png,
                 char (&message)[STATUS_BYTES], const char *about) {
    const char *algo_name = ALGO_NAMES[algo >= 0 && algo < ALGO_COUNT ? algo : 0];
    if (dir.empty()) {
        std::snprintf(message, sizeof message, "NOT SAVED: no home folder");
        std::fprintf(stderr, "maze-generator: cannot save: no home folder\n");
        return false;
    }
    if (int err = make_dirs(dir)) {
        failure(message, dir, err);
        return false;
    }
    std::string lower = algo_name;
    for (char &c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    constexpr std::array<const char *, 4> ENDINGS = {".svg", ".png", "-solution.svg",
                                                     "-solution.png"};
    std::string stem;
    std::array<std::string, 4> finals;
    for (int n = 1;; n++) {
        if (n > 99999) {
            failure(message, dir, EEXIST);
            return false;
        }
        stem = "maze-" + std::to_string(m.cols) + "x" + std::to_string(m.rows) + "-" + lower + "-" +
               std::to_string(n);
        bool taken = false;
        for (int i = 0; i < 4; i++) {
            finals[i] = dir + "/" + stem + ENDINGS[i];
            taken = taken || exists(finals[i]);
        }
        if (!taken) break;
    }

    const int steps = maze_solve(m, solution, MAZE_CELLS);
    const mode_t mask = umask(0);
    umask(mask);
    // Each file is written under a temporary name first and linked into
    // place only when all four are complete: a full disk or a failing
    // encoder leaves no half picture, and link never replaces a file that
    // appeared meanwhile.
    std::array<std::string, 4> temps;
    int linked = 0;
    auto undo = [&](int err) {
        for (int i = 0; i < linked; i++) unlink(finals[i].c_str());
        for (const std::string &t : temps)
            if (!t.empty()) unlink(t.c_str());
        failure(message, dir, err);
        return false;
    };
    for (int i = 0; i < 4; i++) {
        const int n = i < 2 ? 0 : steps;
        std::string bytes;
        errno = 0;
        if (i % 2 == 0)
            bytes = maze_svg(m, algo_name, solution, n, about);
        else if (!encode_png(maze_picture(m, solution, n), bytes))
            return undo(errno ? errno : EIO);
        else if (about)
            png_add_text(bytes, "Description", about);
        std::string t = dir + "/.maze-export-XXXXXX";
        int fd = mkstemp(t.data());
        if (fd < 0) return undo(errno);
        temps[i] = t;
        fchmod(fd, 0666 & ~mask);
        if (int err = write_file(fd, bytes)) return undo(err);
    }
    for (int i = 0; i < 4; i++, linked++) {
        if (link(temps[i].c_str(), finals[i].c_str()) == 0) continue;
        // Some file systems have no hard links; rename is the next best.
        int err = errno;
        if (err == EEXIST || exists(finals[i]) || rename(temps[i].c_str(), finals[i].c_str()) != 0)
            return undo(err);
    }
    for (const std::string &t : temps) unlink(t.c_str());
    const std::string saved = "SAVED " + stem + " (4 files) in ";
    std::snprintf(message, sizeof message, "%s%s", saved.c_str(),
                  shown_folder(dir, STATUS_FIT - int(saved.size())).c_str());
    return true;
}
