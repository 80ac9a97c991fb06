// journey.ini: read once at start-up, written at quit, when the menu or the
// map opens, when the window is hidden and every minute of play.
#pragma once

#include "journey.h"

#include <string>

extern std::string journey_path; // empty: nowhere to keep the journey
extern int journey_found;        // a journey was read: the title offers Continue
extern JourneyPlace journey_saved_place;

// Reads the file into the journey. A file the game cannot use is reported
// on stderr as "<path>:<line>: <reason>" and moved aside; *warning then
// holds what the menu says about it once.
void journey_load(std::string *warning);

// Writes the journey with the player at `place`. 0 on failure, with
// "NOT SAVED: <path>: <reason>" in *message and on stderr.
int journey_save(const JourneyPlace &place, std::string *message);
