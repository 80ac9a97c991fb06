#include "settings_file.h"
#include "player_file.h"
#include "settings.h"
#include "user_dirs.h"
#include "user_files.h"

#include <cstdio>

std::string settings_path;
int settings_broken = 0;
int settings_changed_by_player = 0;

namespace {

PlayerFile file;          // as last read or written; kept lines come from its text
std::string saved_values; // the settings as the file holds them

std::string current_values() {
    return settings_format("");
}

void report(int line, const std::string &reason) {
    if (line > 0)
        std::fprintf(stderr, "Drevix Raycaster: %s:%d: %s\n", settings_path.c_str(), line,
                     reason.c_str());
    else
        std::fprintf(stderr, "Drevix Raycaster: %s: %s\n", settings_path.c_str(), reason.c_str());
}

} // namespace

void settings_load() {
    settings_reset();
    settings_path = settings_file_path();
    settings_broken = settings_changed_by_player = 0;
    file = PlayerFile{};
    if (!settings_path.empty()) {
        if (player_file_read(settings_path, SETTINGS_MAX_BYTES, &file)) {
            for (const SettingsProblem &p : settings_parse(file.text)) {
                report(p.line, p.reason);
                if (!p.unknown_key) settings_broken = 1;
            }
        } else if (file.state == PLAYER_FILE_UNREADABLE) {
            report(0, "cannot read (" + file.error + "); playing with the defaults");
            settings_broken = 1;
        }
    }
    // Whatever the file held, or its absence: nothing is written until a
    // setting changes.
    saved_values = current_values();
}

int settings_unsaved() {
    return current_values() != saved_values;
}

int settings_save(std::string *message) {
    message->clear();
    if (settings_path.empty() || !settings_unsaved()) return 1;
    if (settings_broken && !settings_changed_by_player) return 1;
    std::string moved;
    if (file.state == PLAYER_FILE_UNREADABLE) {
        std::string why = file.error;
        if (!player_file_move_aside(&file, "settings", &moved)) {
            *message = "NOT SAVED: " + settings_path + ": could not be read (" + why +
                       ") nor moved aside: " + file.error;
            std::fprintf(stderr, "Drevix Raycaster: %s\n", message->c_str());
            return 0;
        }
        moved = "The old settings file could not be read (" + why + "); it is kept as " + moved;
    }
    if (!player_file_write(&file, settings_format(file.text), message)) return 0;
    saved_values = current_values();
    settings_broken = 0;
    if (!moved.empty()) {
        *message = moved;
        std::fprintf(stderr, "Drevix Raycaster: %s\n", message->c_str());
    }
    return 1;
}
