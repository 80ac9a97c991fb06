// The player's own files: how one is read and replaced (where they live is
// user_dirs.h). These differ by system (user_files_linux.cpp, user_files_win32.cpp).
#pragma once

#include <cstddef>
#include <string>

// Reads a whole file of at most max_bytes (a longer one gives its first
// max_bytes + 1). 0 and *error when it cannot be read; *missing is set when
// it does not exist.
int read_user_file(const std::string &path, size_t max_bytes, std::string *text, int *missing,
                   std::string *error);

// Writes `text` to a new file beside `path`, on disk, then renames it over
// `path`, creating the folders on the way: a crash or a full disk leaves the
// old file whole. A symbolic link stays a link (its target is replaced, in
// the target's folder) and the file keeps its permission bits. Temporary
// files that earlier, killed saves left there are removed once they are a
// minute old. 0 and *error (the system's reason) on failure.
int replace_user_file(const std::string &path, const std::string &text, std::string *error);

// Renames `from` to `to` unless `to` exists (then 0 with *exists set).
// 0 and *error on failure.
int move_user_file(const std::string &from, const std::string &to, int *exists, std::string *error);
