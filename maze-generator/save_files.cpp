#include "save_files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static int write_whole(int fd, const std::string &text) {
    int err = 0;
    for (size_t done = 0; done < text.size() && !err;) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            err = n < 0 ? errno : EIO;
        else
            done += size_t(n);
    }
    // A full disk or a quota may show only at fsync or close; EINVAL: a
    // file system with nothing to sync.
    if (!err && fsync(fd) != 0 && errno != EINVAL) err = errno;
    struct stat st;
    if (!err && fstat(fd, &st) == 0 && st.st_size != off_t(text.size())) err = EIO;
    if (close(fd) != 0 && !err) err = errno;
    return err;
}

static std::string folder_of(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == path.npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int save_files(const std::vector<FileOut> &files, std::string &failed_path) {
    const mode_t mask = umask(0);
    umask(mask);
    std::vector<std::string> temps;
    auto undo = [&](int err, const std::string &path, size_t placed) {
        for (size_t i = 0; i < placed; i++) unlink(files[i].path.c_str());
        for (size_t i = placed; i < temps.size(); i++) unlink(temps[i].c_str());
        failed_path = path;
        return err;
    };
    for (const FileOut &f : files) {
        struct stat st;
        // A folder of that name would take the file inside on rename.
        if (stat(f.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return undo(EISDIR, f.path, 0);
        std::string t = folder_of(f.path) + "/.maze-out-XXXXXX";
        const int fd = mkstemp(t.data());
        if (fd < 0) return undo(errno, f.path, 0);
        temps.push_back(t);
        fchmod(fd, 0666 & ~mask);
        if (int err = write_whole(fd, f.bytes)) return undo(err, f.path, 0);
    }
    for (size_t i = 0; i < files.size(); i++)
        if (rename(temps[i].c_str(), files[i].path.c_str()) != 0)
            return undo(errno, files[i].path, i);
    return 0;
}
