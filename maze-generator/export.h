// Export: the four pictures of the current maze written to the user's
// pictures folder, all or none, never over an existing file.
#pragma once

#include "config.h"
#include "maze.h"
#include "picture.h"

#include <string>

// The pictures folder from XDG_PICTURES_DIR in the environment, else from
// the user's user-dirs.dirs, else ~/Pictures; empty when there is no home.
// Only absolute folders count: a relative one is ignored, as if unset.
std::string pictures_dir();

// The same from the given values, any of them may be null: the environment
// variable, HOME, and the text of user-dirs.dirs.
std::string pictures_dir_from(const char *xdg_pictures, const char *home, const char *user_dirs);

// A picture as a PNG file's bytes; false when it cannot be encoded.
using EncodePngFn = bool (*)(const Picture &, std::string &out);

// Writes maze-<cols>x<rows>-<algorithm>-<n>.svg and .png and their -solution
// pair into dir, creating it if missing, with the smallest n >= 1 that
// names four new files. The status text for the outcome goes to message.
// Every file is checked to be on the disk whole; on any failure none of the
// four is left behind and the reason also goes to standard error with the
// full folder name. about, when given, goes into every file: the SVG's
// description and the PNG's text.
bool export_maze(const Maze &m, int algo, const std::string &dir, EncodePngFn encode_png,
                 char (&message)[STATUS_BYTES], const char *about = nullptr);
