// What the installer asks of the operating system. platform_win32.cpp makes
// the Win32 calls; platform_posix.cpp stands in for them on Linux, inside a
// sandbox folder, so that the whole flow runs in tests.
#pragma once

#ifdef _WIN32
#define DIR_SEP "\\"
#else
#define DIR_SEP "/"
#endif
constexpr char PATH_SEP = DIR_SEP[0];

// Message box icons, with the values Windows gives them.
enum : unsigned { ICON_ERROR = 0x10, ICON_INFORMATION = 0x40 };

// The user's temporary folder, ending with a separator.
void platform_temp_folder(char *out, int size);
// The user's Desktop folder, no trailing separator.
void platform_desktop_folder(char *out, int size);
// Fetches url into file; false when the download failed.
bool platform_download(const char *url, const char *file);
// Failures (an existing folder, a missing parent) are the caller's to ignore.
void platform_create_directory(const char *path);
void platform_delete_file(const char *path);
// Copies, replacing an existing file; on failure error holds the system's code.
bool platform_copy_file(const char *from, const char *to, unsigned long &error);
// Starts a command line without a console window and waits at most wait_ms.
void platform_run_command(const char *command_line, unsigned wait_ms);
// A modal box with an OK button; returns when it is dismissed.
void platform_message(const char *caption, const char *text, unsigned icon);
