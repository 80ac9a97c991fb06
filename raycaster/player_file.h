// The player's own text files (settings.ini, journey.ini): one reader and
// one writer for both, over the system edge of user_files.h. A file the game
// could not read is never overwritten: it is moved aside first, so whatever
// the player had in it survives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum PlayerFileState : int {
    PLAYER_FILE_MISSING,    // no file: a new one may be written
    PLAYER_FILE_READ,       // `text` holds it
    PLAYER_FILE_UNREADABLE, // too large, not a regular file, unreadable, unusable bytes
};

struct PlayerFile {
    std::string path;
    std::string text; // without the byte order mark
    int had_bom = 0;  // the writer puts it back
    int state = PLAYER_FILE_MISSING;
    std::string error;    // why it is UNREADABLE
    size_t max_bytes = 0; // the reader's limit, which the writer keeps to; 0: none
};

// Reads the whole file, at most max_bytes of it. 1 when READ.
int player_file_read(const std::string &path, size_t max_bytes, PlayerFile *f);

// One "key = value" line, trimmed. A line with a `problem` is refused whole:
// its key and value are empty.
struct PlayerFileLine {
    int number; // 1-based
    std::string_view key, value;
    std::string problem; // "contains a NUL byte", "not UTF-8", "no '='"
};

// Every line but blanks and # comments.
std::vector<PlayerFileLine> player_file_lines(std::string_view text);

// Renames an UNREADABLE file to <stem>-unreadable-<YYYYMMDD-HHMMSS>.ini in
// its folder, never over an existing file; then it counts as MISSING.
// 0 with f->error on failure.
int player_file_move_aside(PlayerFile *f, const char *stem, std::string *moved_to);

// Replaces the file atomically with `text` (and the BOM it had). Refuses an
// UNREADABLE file and a text the reader would refuse as too large. 0 on
// failure with "NOT SAVED: <path>: <reason>" in *message and on stderr.
int player_file_write(PlayerFile *f, const std::string &text, std::string *message);

// "64 KiB", "1 MiB": a size limit as a reason gives it.
std::string player_file_size_text(size_t bytes);
