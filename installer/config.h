// Every tunable of the installers in one place. All are fixed at build time:
// the installers take no arguments and read no configuration.
#pragma once

#include <cstddef>

// Where the game's source archive is downloaded from. Test builds replace it
// with a loopback address; the archive's top folder is named after the
// repository and the branch.
#ifndef DREVIX_ARCHIVE_URL
#define DREVIX_ARCHIVE_URL                                                                         \
    "https://code.drevix.example/drevix/Drevix-Q-/archive/refs/heads/main.zip"
#endif
constexpr const char *ARCHIVE_URL = DREVIX_ARCHIVE_URL;

// Names inside the temporary folder, the archive and the Desktop.
constexpr const char *ARCHIVE_FILE_NAME = "drevix_repo.zip";
constexpr const char *EXTRACT_FOLDER_NAME = "drevix_extract";
constexpr const char *ARCHIVE_TOP_FOLDER = "Drevix-Q--main";
constexpr const char *DESKTOP_COPY_NAME = "Drevix Raycaster.exe";

// The one message box of a run.
constexpr const char *MESSAGE_CAPTION = "Drevix Raycaster";
constexpr const char *TEXT_DOWNLOAD_FAILED = "Failed to download Drevix Raycaster.";
constexpr const char *TEXT_UNPACK_FAILED = "Failed to unpack.";
constexpr const char *TEXT_UNPACK_FAILED_SHELL = "Failed to unpack. Try running as Administrator.";
constexpr const char *FORMAT_COPY_FAILED = "Copy failed (error %lu).";
constexpr const char *FORMAT_COPY_FAILED_SHELL =
    "Copy failed (error %lu). Try running as Administrator.";
constexpr const char *TEXT_READY = "Drevix Raycaster is ready! Check your Desktop.";

// Removal of the extraction folder: handed to the command interpreter, which
// the installer waits for this long before it reports success anyway.
constexpr const char *FORMAT_REMOVE_COMMAND = "cmd /c rd /s /q \"%s\"";
constexpr unsigned REMOVE_WAIT_MS = 10000;

// Buffers; a longer result is cut (paths, messages) or refused (zip paths).
constexpr int PATH_BUF = 260; // folder and file paths of the flow
constexpr int MESSAGE_BUF = 256;
constexpr int COMMAND_BUF = 1024;
constexpr int ZIP_NAME_BUF = 512;  // entry names up to 511 bytes
constexpr int ZIP_PATH_BUF = 1024; // destination folder plus entry name

// Entry data streams through two fixed buffers, so memory use does not depend
// on the sizes an archive claims.
constexpr size_t ZIP_CHUNK = 256 * 1024;
