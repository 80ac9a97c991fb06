// Where the running program lies: the one thing about the system that the
// base folder of the assets needs. exe_path_linux.cpp and exe_path_win32.cpp
// are its two edges.
#pragma once

#include <cstddef>

#ifdef _WIN32
constexpr char EXE_PATH_SEPARATOR = '\\';
#else
constexpr char EXE_PATH_SEPARATOR = '/';
#endif

// The executable's full path in UTF-8, symlinks resolved, written to `out`
// without a terminating NUL: its length, or <= 0 when it cannot be told in
// fewer than `size` bytes.
long read_exe_path(char *out, size_t size);
