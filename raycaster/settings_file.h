// The settings file: read once at start-up, written when a setting changed.
#pragma once

#include <string>

extern std::string settings_path; // empty: nowhere to keep settings
// The file had lines the game could not use; it is not rewritten until the
// player changes a setting (settings_changed_by_player).
extern int settings_broken;
extern int settings_changed_by_player;

// Reads the file into the settings; every problem goes to stderr as
// "<path>:<line>: <reason>", and the settings it concerns keep their defaults.
void settings_load();

// 1 while some setting differs from what the file holds.
int settings_unsaved();

// Writes the file when a setting changed (and the file may be rewritten).
// 0 on failure, with "NOT SAVED: <path>: <reason>" in *message and on stderr.
// A file the game could not read is moved aside first, never overwritten:
// then 1 with where it went in *message (else empty).
int settings_save(std::string *message);
