#include "exe_path.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

std::string read_exe_path(std::string *why) {
    // The link can be longer than PATH_MAX: grow until it fits.
    for (size_t size = 4096;; size *= 2) {
        std::string path(size, '\0');
        ssize_t n = readlink("/proc/self/exe", path.data(), size);
        if (n < 0) {
            *why = std::strerror(errno);
            return {};
        }
        if (static_cast<size_t>(n) < size) {
            path.resize(static_cast<size_t>(n));
            return path;
        }
    }
}
