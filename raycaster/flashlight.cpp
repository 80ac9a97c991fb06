#include "flashlight.h"
#include "config.h"

int flashlight_on = 0;
double flash_spring = 0.0;
double flash_vel = 0.0;

void flashlight_toggle() {
    flashlight_on = !flashlight_on;
    flash_vel = FLASH_KICK; // upward in both directions: switching off flares first
}

void update_flashlight(double dt) {
    double target = flashlight_on ? 1.0 : 0.0;
    double accel = -FLASH_STIFFNESS * (flash_spring - target) - FLASH_DAMPING * flash_vel;
    flash_vel += accel * dt;
    flash_spring += flash_vel * dt;
    if (flash_spring < 0.0) flash_spring = 0.0;
}
