#include "gl_load.h"

// Linked against libGL: the loader has found it before main.
std::string gl_load_library() {
    return {};
}
std::string gl_load_functions() {
    return {};
}
