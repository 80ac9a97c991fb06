// The installer's one run: download the game's archive, unpack it, copy the
// game to the Desktop, clean up and report in one message box.
#pragma once

// What tells the two installer builds apart.
struct InstallerKind {
    const char *url;
    // Unpacks the archive file into the folder; false when it could not.
    bool (*unpack)(const char *archive, const char *folder);
    const char *unpack_failed_text;
    const char *copy_failed_format; // takes the system's error code as %lu
};

// Runs the whole installation; the result is the process exit code, 0 after
// success and 1 after any error.
int installer_run(const InstallerKind &kind);
