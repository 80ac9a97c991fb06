#include "user_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string home_folder() {
    const char *home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd *pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

std::string reason() {
    return std::strerror(errno);
}

// Each missing folder of `dir`, private to the player as config folders are.
int make_folders(const std::string &dir) {
    for (size_t i = 1; i <= dir.size(); i++)
        if (i == dir.size() || dir[i] == '/') {
            std::string part = dir.substr(0, i);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return 0;
        }
    return 1;
}

int write_all(int fd, const std::string &text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        done += static_cast<size_t>(n);
    }
    return 1;
}

} // namespace

std::string settings_file_path() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, like an empty one.
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string dir = config && config[0] == '/' ? config : "";
    if (dir.empty()) {
        std::string home = home_folder();
        if (home.empty()) return "";
        dir = home + "/.config";
    }
    return dir + "/drevix-raycaster/settings.ini";
}

int read_user_file(const std::string &path, size_t max_bytes, std::string *text, int *missing,
                   std::string *error) {
    text->clear();
    *missing = 0;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *missing = errno == ENOENT;
        *error = reason();
        return 0;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = S_ISDIR(st.st_mode) ? "Is a directory" : "not a regular file";
        close(fd);
        return 0;
    }
    char buf[8192];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *error = reason();
            close(fd);
            return 0;
        }
        if (n == 0 || text->size() > max_bytes) break;
        text->append(buf, static_cast<size_t>(n));
    }
    close(fd);
    if (text->size() > max_bytes + 1) text->resize(max_bytes + 1);
    return 1;
}

int replace_user_file(const std::string &path, const std::string &text, std::string *error) {
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !make_folders(path.substr(0, slash))) {
        *error = reason();
        return 0;
    }
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        *error = reason();
        return 0;
    }
    int ok = write_all(fd, text) && fsync(fd) == 0;
    if (!ok) *error = reason();
    if (close(fd) != 0 && ok) {
        ok = 0;
        *error = reason();
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = 0;
        *error = reason();
    }
    if (!ok) unlink(temp.c_str());
    return ok;
}
