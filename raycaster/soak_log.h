// Developer switch for long unattended runs: with DREVIX_SOAK_LOG=<file>
// set, the game appends a line of health figures every second and lets the
// player walk through walls four times as fast, so a scripted run can cross
// the maze and fill the chunk cache in minutes.
// Off, it costs one branch a frame.
#pragma once

#include <cstdint>

void soak_log_open();                 // reads the environment once
void soak_log_frame(double frame_ms); // after each presented frame
void soak_log_close();
