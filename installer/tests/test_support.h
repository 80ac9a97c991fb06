// Scratch folders, files and external tools for the installer's tests.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with its
// contents when the test ends.
struct ScratchDir {
    fs::path path;
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
};

std::string read_file(const fs::path &file);
void write_file(const fs::path &file, std::string_view bytes);
// Deterministic bytes: random-looking ones do not compress, text does.
std::string noise_bytes(size_t count, unsigned seed);
std::string text_bytes(size_t count, unsigned seed);

// Runs a shell command with its output discarded; true when it exited with 0.
bool run_quietly(const std::string &command);
// Quotes a path for the shell.
std::string quoted(const fs::path &path);

// Every regular file below root, by relative path, with its contents.
std::map<std::string, std::string> files_below(const fs::path &root);
// Every folder below root, by relative path.
std::set<std::string> folders_below(const fs::path &root);

// Extracts archive into folder with the reader under test.
void extract_with_reader(const fs::path &archive, const fs::path &folder);

// Makes a git repository in folder from files (relative path to contents)
// and writes its main branch as a zip archive under the given top folder.
bool git_archive(const fs::path &folder, const std::map<std::string, std::string> &files,
                 const std::string &top_folder, const fs::path &archive);
