#pragma once

// Forgives the one X error that SDL's own event wait can cause at quit (see
// x11_errors.cpp). Call before SDL_Init; does nothing without libX11.
void forgive_late_wakeups();
