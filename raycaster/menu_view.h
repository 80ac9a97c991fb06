// The options menu drawn over the dimmed view or title, in the game's own
// fonts and colours.
#pragma once

#include <SDL2/SDL_ttf.h>
#include <string>
#include <vector>

void draw_menu(int w, int h);

// A message under the menu's rows as at most two lines no wider than
// `width` pixels in `font`: wrapped at spaces, and a path too long for that
// shortened in its middle with an ellipsis, so its file name and the
// reason after it show. The whole message goes to stderr where it is made.
std::vector<std::string> menu_message_lines(TTF_Font *font, const std::string &message, int width);
