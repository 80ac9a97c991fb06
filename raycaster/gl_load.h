// How the game reaches the system's OpenGL library. Linked normally, there is
// nothing to do; in the portable build (gl_runtime.cpp) the library is
// loaded through SDL after start, so a machine without it gets a message
// instead of the loader's refusal to start the program at all.
#pragma once

#include <string>

// Before the window: empty when the library is there, else what to tell the
// player.
std::string gl_load_library();

// After the context: empty when every call the game makes was found, else
// the name of the first one that was not.
std::string gl_load_functions();
