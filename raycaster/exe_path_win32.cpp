#include "exe_path.h"

#include <iterator>
#include <windows.h>

std::string read_exe_path(std::string *why) {
    // Long paths are allowed up to 32767 wide characters; a cut one is useless.
    static wchar_t wide[32768];
    DWORD n = GetModuleFileNameW(nullptr, wide, static_cast<DWORD>(std::size(wide)));
    if (n == 0 || n >= std::size(wide)) {
        *why = n == 0 ? "Windows does not tell the program's file name"
                      : "the program's path is longer than Windows allows";
        return {};
    }
    int len = static_cast<int>(n);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, len, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
    if (bytes <= 0 ||
        WideCharToMultiByte(CP_UTF8, 0, wide, len, out.data(), bytes, nullptr, nullptr) != bytes) {
        *why = "the program's path is not valid Unicode";
        return {};
    }
    return out;
}
