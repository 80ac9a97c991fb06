#include "user_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// mkstemp's six letters after the file's name and this mark: nobody else's
// file is named so.
constexpr const char TEMP_MARK[] = ".new-";
constexpr int STALE_SECONDS = 60; // a save in progress takes far less

std::string folder_of(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Where the text goes: the file a chain of symbolic links ends at.
int follow_links(std::string *path) {
    for (int hops = 0; hops < 40; hops++) {
        struct stat st {};
        if (lstat(path->c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 1;
        std::string to(static_cast<size_t>(st.st_size) + 256, '\0');
        ssize_t n = readlink(path->c_str(), to.data(), to.size());
        if (n < 0) return 0;
        to.resize(static_cast<size_t>(n));
        *path = to[0] == '/' ? to : folder_of(*path) + "/" + to;
    }
    errno = ELOOP;
    return 0;
}

// Earlier saves' temporary files that a kill left behind. A young one may
// be another running game's save in progress, so it stays.
void remove_stale_temps(const std::string &path) {
    std::string folder = folder_of(path), prefix = path.substr(path.rfind('/') + 1) + TEMP_MARK;
    DIR *d = opendir(folder.c_str());
    if (!d) return;
    std::time_t now = std::time(nullptr);
    while (const dirent *e = readdir(d)) {
        std::string_view name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.rfind(prefix, 0) != 0) continue;
        std::string full = folder + "/" + std::string(name);
        struct stat st {};
        if (lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime > STALE_SECONDS)
            unlink(full.c_str());
    }
    closedir(d);
}

} // namespace

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
    std::string target = path;
    if (!follow_links(&target)) {
        *error = reason();
        return 0;
    }
    std::string folder = folder_of(target);
    if (folder != "/" && !make_folders(folder)) {
        *error = reason();
        return 0;
    }
    remove_stale_temps(target);
    struct stat old {};
    int had_old = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::string temp = target + TEMP_MARK + "XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        *error = reason();
        return 0;
    }
    // mkstemp makes it private; a file the player made readable stays so.
    if (had_old) fchmod(fd, old.st_mode & 07777);
    int ok = write_all(fd, text) && fsync(fd) == 0;
    if (!ok) *error = reason();
    if (close(fd) != 0 && ok) {
        ok = 0;
        *error = reason();
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = 0;
        *error = reason();
    }
    if (!ok) unlink(temp.c_str());
    return ok;
}

int move_user_file(const std::string &from, const std::string &to, int *exists,
                   std::string *error) {
    *exists = 0;
    // link() would refuse a folder; a check then a rename is enough for a
    // name with the second in it.
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) {
        *exists = 1;
        *error = "File exists";
        return 0;
    }
    if (rename(from.c_str(), to.c_str()) != 0) {
        *error = reason();
        return 0;
    }
    return 1;
}
