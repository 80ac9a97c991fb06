// Export: the four pictures of the current maze written to the user's
// pictures folder, all or none, never over an existing file.
#pragma once

#include "config.h"
#include "maze.h"
#include "picture.h"

#include <string>

// pictures_dir(): the pictures folder, found as the game finds it.
#include "user_dirs.h"

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
