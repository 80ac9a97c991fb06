// Unpacking through the Windows Shell's zip folders, for installer-shell.
#pragma once

// Copies the archive's top-level items into folder; false when the Shell
// cannot open the archive or the folder. Whether the copy itself worked is
// not known here: a missing game shows up when it is copied to the Desktop.
bool shell_unpack(const char *archive, const char *folder);
