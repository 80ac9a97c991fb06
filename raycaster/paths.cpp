#include "paths.h"

#include <cstring>

void base_dir_from_exe(const char *link, long len, char out[BASE_DIR_BYTES], char separator) {
    std::memset(out, 0, BASE_DIR_BYTES);
    out[0] = '.';
    if (len <= 0) return;

    char path[BASE_DIR_BYTES] = {};
    size_t n = static_cast<size_t>(len) < BASE_DIR_BYTES - 1 ? static_cast<size_t>(len)
                                                             : BASE_DIR_BYTES - 1;
    std::memcpy(path, link, n);
    char *slash = std::strrchr(path, separator); // drop the file name
    if (!slash) return;
    *slash = '\0';
    slash = std::strrchr(path, separator); // and the folder holding it
    if (!slash) return;
    *slash = '\0';
    std::memcpy(out, path, std::strlen(path) + 1);
}

void embedded_asset_name(const char *format, char out[ASSET_NAME_BYTES]) {
    constexpr char PREFIX[] = "%s/assets/";
    out[0] = '\0';
    if (std::strncmp(format, PREFIX, sizeof PREFIX - 1) != 0) return;
    size_t n = 0;
    for (const char *c = format + sizeof PREFIX - 1; *c && n < ASSET_NAME_BYTES - 1; c++, n++) {
        bool keep = (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        out[n] = *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : keep ? *c : '_';
    }
    out[n] = '\0';
}
