// The options menu drawn over the dimmed view or title, in the game's own
// fonts and colours.
#pragma once

void draw_menu(int w, int h);
