// installer: unpacks the game's archive with its own zip reader.
#include "config.h"
#include "installer_flow.h"
#include "zip_extract.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return installer_run({ARCHIVE_URL, zip_extract_file, TEXT_UNPACK_FAILED, FORMAT_COPY_FAILED});
}
