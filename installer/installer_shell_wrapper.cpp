// installer-shell: lets the Windows Shell unpack the game's archive.
#include "config.h"
#include "installer_flow.h"
#include "shell_unpack.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return installer_run(
        {ARCHIVE_URL, shell_unpack, TEXT_UNPACK_FAILED_SHELL, FORMAT_COPY_FAILED_SHELL});
}
