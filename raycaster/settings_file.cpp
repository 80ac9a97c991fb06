#include "settings_file.h"
#include "settings.h"
#include "user_files.h"

#include <cstdio>

std::string settings_path;
int settings_broken = 0;
int settings_changed_by_player = 0;

namespace {

std::string file_text;    // as last read or written; kept lines come from it
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
    file_text.clear();
    std::string text, error;
    int missing = 0;
    if (!settings_path.empty()) {
        if (read_user_file(settings_path, SETTINGS_MAX_BYTES, &text, &missing, &error)) {
            for (const SettingsProblem &p : settings_parse(text)) {
                report(p.line, p.reason);
                if (!p.unknown_key) settings_broken = 1;
            }
            if (text.size() <= SETTINGS_MAX_BYTES) file_text = text;
        } else if (!missing) {
            report(0, "cannot read (" + error + "); playing with the defaults");
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
    if (settings_path.empty() || !settings_unsaved()) return 1;
    if (settings_broken && !settings_changed_by_player) return 1;
    std::string text = settings_format(file_text), error;
    if (!replace_user_file(settings_path, text, &error)) {
        *message = "NOT SAVED: " + settings_path + ": " + error;
        std::fprintf(stderr, "Drevix Raycaster: %s\n", message->c_str());
        return 0;
    }
    file_text = text;
    saved_values = current_values();
    settings_broken = 0;
    return 1;
}
