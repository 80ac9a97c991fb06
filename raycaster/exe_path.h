// Where the running program lies: the one thing about the system that the
// base folder of the assets needs. exe_path_linux.cpp and exe_path_win32.cpp
// are its two edges.
#pragma once

#include <string>

#ifdef _WIN32
constexpr char EXE_PATH_SEPARATOR = '\\';
#else
constexpr char EXE_PATH_SEPARATOR = '/';
#endif

// The executable's full path in UTF-8, symlinks resolved, however long.
// Empty, with the reason in `why`, when it cannot be told: a path cut short
// would point at some other folder.
std::string read_exe_path(std::string *why);
