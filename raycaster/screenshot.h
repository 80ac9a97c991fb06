// Screenshots: the frame the window showed, as a PNG in the pictures
// folder's "Drevix Raycaster" folder.
#pragma once

#include <string>
#include <vector>

// drevix-raycaster-YYYYMMDD-HHMMSS.png for the local time `when` (seconds
// since the epoch).
std::string screenshot_name(long long when);

// Writes rows of RGB pixels (top first) into `folder`, made if missing,
// under a new name: a second picture in the same second gets "-2" and so
// on. 1 with the file's name in *name; 0 with the system's reason in *why,
// leaving no file behind.
int save_screenshot(const std::vector<unsigned char> &rgb, int w, int h, const std::string &folder,
                    std::string *name, std::string *why);
