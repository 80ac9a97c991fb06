// The flashlight's brightness follows a damped spring toward its switch.
#pragma once

extern int flashlight_on;
extern double flash_spring; // brightness: ~0 off, ~1 on, may overshoot
extern double flash_vel;

void flashlight_toggle();
void update_flashlight(double dt);
