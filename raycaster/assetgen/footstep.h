// The footstep sound: mono samples at SAMPLE_RATE in -1..1.
#pragma once

#include <vector>

std::vector<float> footstep();
