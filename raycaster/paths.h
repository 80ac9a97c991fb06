// Where the game finds its files: the base folder and the font chains.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The parent of the folder holding the executable, from the program's own
// path (empty when it could not be read): the /proc/self/exe link on Linux,
// the module's file name on Windows, which separates folders with
// `separator`. "." unless the path has two separators to cut at.
std::string base_dir_from_exe(std::string_view exe, char separator = '/');

// The folder holding the executable itself: the base folder of the portable
// archive, whose programs sit beside their assets. "." when the path names
// no folder.
std::string program_dir_from_exe(std::string_view exe, char separator = '/');

// The file of the asset whose path format is `format` (such as ASSET_WALL)
// under `base_dir`, however long; a format without a base folder as it is.
std::string asset_path(std::string_view base_dir, const char *format);

// The name under which the Windows build carries its copy of an asset, made
// from the asset's path format: what follows "%s/assets/", upper-cased, with
// every character other than a letter or digit turned into '_'
// ("fonts/x.ttf" -> "FONTS_X_TTF"). The build's resource script is written
// by the same rule. Empty when the format is not an asset path.
constexpr size_t ASSET_NAME_BYTES = 128;
void embedded_asset_name(const char *format, char out[ASSET_NAME_BYTES]);

// Font files tried in order; the first that opens wins. The small font draws
// the presence's names, whose combining marks (U+0300..U+036F) only some
// monospace fonts cover: the game's own copy comes first, then the system's
// copy of the same font (what an installed game uses), then monospace fonts
// without all the marks. The system's own locations follow the historical
// ones, which few distributions have.
constexpr const char *FONT_SMALL_ASSET = "%s/assets/fonts/NotoSansMono-Regular.ttf";
constexpr const char *FONT_SMALL_PATHS[] = {
    "/usr/share/fonts/truetype/noto/NotoSansMono-Regular.ttf", // Debian, Ubuntu
    "/usr/share/fonts/google-noto/NotoSansMono-Regular.ttf",   // Fedora
    "/usr/share/fonts/noto/NotoSansMono-Regular.ttf",          // Arch
    "/usr/share/fonts/TTF/DejaVuSansMono.ttf",
    "/usr/share/fonts/TTF/JetBrainsMonoNerdFont-Regular.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",        // Debian, Ubuntu
    "/usr/share/fonts/dejavu-sans-mono-fonts/DejaVuSansMono.ttf", // Fedora
};
constexpr const char *FONT_BOLD_ASSET = "%s/assets/fonts/SourceCodePro-Bold.ttf";
constexpr const char *FONT_BOLD_PATHS[] = {
    "/usr/share/qtcreator/fonts/SourceCodePro-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",        // Debian, Ubuntu
    "/usr/share/fonts/dejavu-sans-mono-fonts/DejaVuSansMono-Bold.ttf", // Fedora
};

// Asset files, relative to the base folder.
constexpr const char *ASSET_ICON = "%s/assets/images/icons/icon.ico";
constexpr const char *ASSET_BACKGROUND = "%s/assets/images/bgimage.png";
constexpr const char *ASSET_STEP = "%s/assets/sounds/step5.wav";
constexpr const char *ASSET_MUSIC = "%s/assets/sounds/bgmusic.mp3";
constexpr const char *ASSET_WALL = "%s/assets/images/rooms/level_0/wall_brick.png";
constexpr const char *ASSET_SECRET = "%s/assets/images/rooms/level_0/wall_brick_secret.png";
constexpr const char *ASSET_FLOOR = "%s/assets/images/rooms/level_0/floor_.png";
constexpr const char *ASSET_CEILING = "%s/assets/images/rooms/level_0/ceiling_.png";
constexpr const char *ASSET_DOOR_CLOSED =
    "%s/assets/images/rooms/level_0/wall_brick_secret_door0.png";
constexpr const char *ASSET_DOOR_OPEN =
    "%s/assets/images/rooms/level_0/wall_brick_secret_door80.png";
constexpr const char *ASSET_CURSOR = "%s/assets/images/icons/cursors/arrow.cur";
constexpr const char *ASSET_CURSOR_RELATIVE = "assets/images/icons/cursors/arrow.cur";
