// The Linux stand-in for Windows keeps everything inside one sandbox folder
// and records what the installer shows and starts, for tests to read.
//   <sandbox>/Temp/     the temporary folder
//   <sandbox>/Desktop/  the Desktop
//   <sandbox>/web/      the download mirror: https://host/path is web/host/path
#pragma once

#include <array>

constexpr int POSIX_MAX_RECORDS = 8;

struct RecordedMessage {
    std::array<char, 64> caption;
    std::array<char, 256> text;
    unsigned icon;
};

extern std::array<char, 512> posix_sandbox;
extern std::array<RecordedMessage, POSIX_MAX_RECORDS> posix_messages;
extern int posix_message_count;
extern std::array<std::array<char, 1024>, POSIX_MAX_RECORDS> posix_commands;
extern int posix_command_count;
// The download reports success but the file is gone at once, as when a
// virus scanner takes it away.
extern bool posix_download_vanishes;

// Points the stand-in at a sandbox folder and forgets earlier records.
void posix_reset(const char *sandbox);
