#include "journey_file.h"
#include "player_file.h"
#include "user_dirs.h"

#include <cstdio>

std::string journey_path;
int journey_found = 0;
JourneyPlace journey_saved_place{};

namespace {

PlayerFile file;

} // namespace

void journey_load(std::string *warning) {
    warning->clear();
    journey_found = 0;
    file = PlayerFile{};
    std::string folder = data_folder();
    journey_path = folder.empty() ? "" : folder + FOLDER_SEPARATOR + "journey.ini";
    if (journey_path.empty()) return;
    file.path = journey_path;
    int line = 0;
    std::string why;
    if (player_file_read(journey_path, JOURNEY_MAX_BYTES, &file)) {
        if (journey_parse(file.text, &journey_saved_place, &line, &why)) {
            journey_found = 1;
            return;
        }
        file.state = PLAYER_FILE_UNREADABLE;
        file.error = why;
    } else if (file.state == PLAYER_FILE_MISSING) {
        return;
    } else {
        why = file.error;
    }
    if (line > 0)
        std::fprintf(stderr, "Drevix Raycaster: %s:%d: %s\n", journey_path.c_str(), line,
                     why.c_str());
    else
        std::fprintf(stderr, "Drevix Raycaster: %s: %s\n", journey_path.c_str(), why.c_str());
    std::string moved;
    if (player_file_move_aside(&file, "journey", &moved)) {
        std::fprintf(stderr, "Drevix Raycaster: moved it to %s; a new journey starts\n",
                     moved.c_str());
        *warning = "Unreadable: moved to " + moved.substr(moved.find_last_of("/\\") + 1);
    } else {
        std::fprintf(stderr, "Drevix Raycaster: cannot move %s aside (%s); it is kept as it is\n",
                     journey_path.c_str(), file.error.c_str());
        *warning = "Journey file unreadable, kept as it is: " + journey_path;
    }
}

int journey_save(const JourneyPlace &place, std::string *message) {
    if (journey_path.empty()) return 1;
    return player_file_write(&file, journey_format(place), message);
}
