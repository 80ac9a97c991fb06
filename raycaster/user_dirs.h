// The player's folders, for the game and the maze generator alike: where
// the game keeps its settings and the journey, and where pictures go. The system calls are
// in user_dirs_linux.cpp and user_dirs_win32.cpp; the rest is plain logic.
#pragma once

#include <string>

// The game's data folder, UTF-8, without a separator at the end:
// $XDG_DATA_HOME/drevix-raycaster (~/.local/share/... when that is unset,
// empty or relative) or %APPDATA%\Drevix Raycaster. Empty when the system
// names no such place.
std::string data_folder();

// The settings file's full path, UTF-8: settings.ini in
// $XDG_CONFIG_HOME/drevix-raycaster (~/.config/... when that is unset, empty
// or relative) or in %APPDATA%\Drevix Raycaster. Empty when the system
// names no place for it (no home folder).
std::string settings_file_path();

// The pictures folder: XDG_PICTURES_DIR in the environment, else from the
// user's user-dirs.dirs, else ~/Pictures; on Windows the Pictures known
// folder. Empty when there is none.
std::string pictures_dir();

// The same from the given values, any of them may be null: the environment
// variable, HOME, and the text of user-dirs.dirs. Only absolute folders
// count: a relative one is ignored, as if unset.
std::string pictures_dir_from(const char *xdg_pictures, const char *home, const char *user_dirs);

// The folder as the player knows it: ~ for the home folder.
std::string shown_folder(const std::string &dir);

// The home folder, empty when there is none (Linux); the user's profile
// folder on Windows.
std::string home_folder_path();

// The separator between folders in the paths above.
#ifdef _WIN32
constexpr char FOLDER_SEPARATOR = '\\';
#else
constexpr char FOLDER_SEPARATOR = '/';
#endif
