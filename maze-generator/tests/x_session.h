// Driving the real program on an X server (the test runs under xvfb-run):
// start it, read its echoed status lines, send keys and clicks with xdotool
// and read screenshots taken with ImageMagick's import.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

struct App {
    pid_t pid = -1;
    int out_fd = -1; // its standard output
    int err_fd = -1; // its standard error
    std::string pending;
};

// Starts the program with the given extra environment ("NAME=value"), which
// replaces variables of the same name.
App app_start(const char *exe, const std::vector<std::string> &env);
// The next line on its standard output, without the newline.
std::optional<std::string> app_line(App &app, int timeout_ms);
// Its exit status, or -1 if it did not exit in time (it is then killed).
int app_wait(App &app, int timeout_ms);
// Everything it wrote to standard error (after it exited).
std::string app_stderr(App &app);
void app_kill(App &app);

// Runs a shell command; its standard output.
std::string sh(const std::string &cmd);

struct Shot {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    uint32_t at(int x, int y) const {
        const uint8_t *p = &rgb[(size_t(y) * w + x) * 3];
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
};

// The window's contents, as the X server has them.
Shot screenshot(const std::string &window);

// A picture file read through ImageMagick; empty when it cannot be read.
Shot read_picture(const std::string &path);
