#include "paths.h"

#include <cstring>

std::string base_dir_from_exe(std::string_view exe, char separator) {
    size_t file = exe.rfind(separator); // drop the file name
    if (file == std::string_view::npos || file == 0) return ".";
    size_t folder = exe.rfind(separator, file - 1); // and the folder holding it
    if (folder == std::string_view::npos) return ".";
    return std::string(exe.substr(0, folder));
}

std::string program_dir_from_exe(std::string_view exe, char separator) {
    size_t file = exe.rfind(separator);
    if (file == std::string_view::npos) return ".";
    return std::string(exe.substr(0, file));
}

std::string asset_path(std::string_view base_dir, const char *format) {
    std::string_view rest = format;
    if (!rest.starts_with("%s")) return std::string(rest);
    return std::string(base_dir).append(rest.substr(2));
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
