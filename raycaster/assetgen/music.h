// The background music: a dark ambient loop, interleaved stereo samples at
// SAMPLE_RATE in -1..1, exactly MUSIC_SECONDS long. Its last sample runs on
// into its first, so it loops without a click.
#pragma once

#include <vector>

std::vector<float> music_loop();
