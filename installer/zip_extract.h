// The installer's own zip reader: walks the local file headers from the start
// of an archive and writes each stored or deflated file below a folder.
#pragma once

#include <cstdio>

// Extracts every entry of archive (opened with "rb", at its start) below
// folder (no trailing separator). Errors end the walk silently; what was
// written by then stays, except that an entry that failed leaves no file.
void zip_extract(FILE *archive, const char *folder);

// Opens the archive file, extracts it into folder and closes it again; false
// only when the archive cannot be opened.
bool zip_extract_file(const char *archive, const char *folder);
