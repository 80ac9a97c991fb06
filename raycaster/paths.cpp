#include "paths.h"

#include <cstring>

void base_dir_from_exe(const char *link, long len, char out[BASE_DIR_BYTES]) {
    std::memset(out, 0, BASE_DIR_BYTES);
    out[0] = '.';
    if (len <= 0) return;

    char path[BASE_DIR_BYTES] = {};
    size_t n = static_cast<size_t>(len) < BASE_DIR_BYTES - 1 ? static_cast<size_t>(len)
                                                             : BASE_DIR_BYTES - 1;
    std::memcpy(path, link, n);
    char *slash = std::strrchr(path, '/'); // drop the file name
    if (!slash) return;
    *slash = '\0';
    slash = std::strrchr(path, '/'); // and the folder holding it
    if (!slash) return;
    *slash = '\0';
    std::memcpy(out, path, std::strlen(path) + 1);
}
