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

// The portable archive keeps the assets beside the programs rather than in
// the parent of their folder.
#ifdef DREVIX_ASSETS_BESIDE_PROGRAM
constexpr bool ASSETS_BESIDE_PROGRAM = true;
#else
constexpr bool ASSETS_BESIDE_PROGRAM = false;
#endif

// The executable's full path in UTF-8, symlinks resolved, however long.
// Empty, with the reason in `why`, when it cannot be told: a path cut short
// would point at some other folder.
std::string read_exe_path(std::string *why);
