#include "exe_path.h"

#include <iterator>
#include <windows.h>

long read_exe_path(char *out, size_t size) {
    // Long paths are allowed up to 32767 wide characters; a cut one is useless.
    static wchar_t wide[32768];
    DWORD n = GetModuleFileNameW(nullptr, wide, static_cast<DWORD>(std::size(wide)));
    if (n == 0 || n >= std::size(wide) || size < 2) return -1;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(n), out,
                                    static_cast<int>(size - 1), nullptr, nullptr);
    return bytes > 0 ? bytes : -1;
}
