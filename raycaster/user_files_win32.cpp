#include "user_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <io.h>
#include <windows.h>

namespace {

std::wstring wide(const std::string &utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string system_reason(DWORD code) {
    char buf[256] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buf, sizeof buf, nullptr);
    while (n > 0 && (buf[n - 1] == '\n' || buf[n - 1] == '\r' || buf[n - 1] == '.'))
        buf[--n] = '\0';
    return n ? buf : "error " + std::to_string(code);
}

} // namespace

int read_user_file(const std::string &path, size_t max_bytes, std::string *text, int *missing,
                   std::string *error) {
    text->clear();
    *missing = 0;
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD code = GetLastError();
        *missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
        *error = system_reason(code);
        return 0;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        *error = "Is a directory";
        return 0;
    }
    FILE *f = _wfopen(wide(path).c_str(), L"rb");
    if (!f) {
        *error = std::strerror(errno);
        return 0;
    }
    char buf[8192];
    size_t n;
    while (text->size() <= max_bytes && (n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text->append(buf, n);
    int ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) *error = "read error";
    if (text->size() > max_bytes + 1) text->resize(max_bytes + 1);
    return ok;
}

int replace_user_file(const std::string &path, const std::string &text, std::string *error) {
    std::wstring target = wide(path);
    size_t slash = target.rfind(L'\\');
    if (slash != std::wstring::npos) CreateDirectoryW(target.substr(0, slash).c_str(), nullptr);
    // Earlier saves' leftovers, a minute old: a younger one may be another
    // running game's save in progress. Each save has a name of its own.
    std::wstring mark = target + L".new-";
    std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((mark + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        FILETIME now_ft;
        GetSystemTimeAsFileTime(&now_ft);
        ULARGE_INTEGER now{}, then{};
        now.LowPart = now_ft.dwLowDateTime;
        now.HighPart = now_ft.dwHighDateTime;
        do {
            then.LowPart = found.ftLastWriteTime.dwLowDateTime;
            then.HighPart = found.ftLastWriteTime.dwHighDateTime;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                now.QuadPart > then.QuadPart + 60ull * 10000000ull)
                DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::wstring temp =
        mark + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    FILE *f = _wfopen(temp.c_str(), L"wb");
    if (!f) {
        *error = std::strerror(errno);
        return 0;
    }
    int ok = std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fflush(f) == 0 &&
             _commit(_fileno(f)) == 0;
    if (std::fclose(f) != 0) ok = 0;
    if (!ok) *error = "could not write the file in full";
    if (ok && !MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = 0;
        *error = system_reason(GetLastError());
    }
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

int move_user_file(const std::string &from, const std::string &to, int *exists,
                   std::string *error) {
    *exists = 0;
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH)) return 1;
    DWORD code = GetLastError();
    *exists = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS;
    *error = system_reason(code);
    return 0;
}
