#include "user_dirs.h"

#include <cstdlib>
#include <shlobj.h>
#include <windows.h>

static std::string utf8(const wchar_t *w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return "";
    std::string out(static_cast<size_t>(n - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, out.data(), n, nullptr, nullptr);
    return out;
}

static std::string known_folder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string out;
    if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) out = utf8(path);
    CoTaskMemFree(path);
    return out;
}

std::string home_folder_path() {
    return known_folder(FOLDERID_Profile);
}

std::string pictures_dir() {
    return known_folder(FOLDERID_Pictures);
}

std::string data_folder() {
    const wchar_t *appdata = _wgetenv(L"APPDATA");
    if (!appdata || !*appdata) return "";
    return utf8(appdata) + "\\Drevix Raycaster";
}

std::string settings_file_path() {
    std::string dir = data_folder();
    return dir.empty() ? "" : dir + "\\settings.ini";
}
