#include "installer_flow.h"

#include "config.h"
#include "platform.h"

#include <cstdarg>
#include <cstdio>

// The C formatter into a fixed buffer; a longer result is cut, as it would be
// in the system's own MAX_PATH buffers.
__attribute__((format(printf, 3, 4))) static void format_cut(char *out, size_t size,
                                                             const char *format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(out, size, format, args);
    va_end(args);
}

static int fail(const char *text) {
    platform_message(MESSAGE_CAPTION, text, ICON_ERROR);
    return 1;
}

int installer_run(const InstallerKind &kind) {
    char temp[PATH_BUF];
    char archive[PATH_BUF];
    char folder[PATH_BUF];
    char desktop[PATH_BUF];
    platform_temp_folder(temp, PATH_BUF);
    // The temporary folder ends with a separator already; the doubled one is harmless.
    format_cut(archive, sizeof archive, "%s" DIR_SEP "%s", temp, ARCHIVE_FILE_NAME);
    format_cut(folder, sizeof folder, "%s" DIR_SEP "%s", temp, EXTRACT_FOLDER_NAME);
    platform_desktop_folder(desktop, PATH_BUF);

    if (!platform_download(kind.url, archive)) return fail(TEXT_DOWNLOAD_FAILED);

    platform_create_directory(folder);
    bool unpacked = kind.unpack(archive, folder);
    platform_delete_file(archive);
    if (!unpacked) return fail(kind.unpack_failed_text);

    char game[PATH_BUF];
    char copy[PATH_BUF];
    format_cut(game, sizeof game, "%s" DIR_SEP "%s" DIR_SEP "build" DIR_SEP "raycaster.exe", folder,
               ARCHIVE_TOP_FOLDER);
    format_cut(copy, sizeof copy, "%s" DIR_SEP "%s", desktop, DESKTOP_COPY_NAME);
    unsigned long error = 0;
    if (!platform_copy_file(game, copy, error)) {
        // The extraction folder stays, for whoever wants to see what went wrong.
        char text[MESSAGE_BUF];
        format_cut(text, sizeof text, kind.copy_failed_format, error);
        return fail(text);
    }

    char command[COMMAND_BUF];
    format_cut(command, sizeof command, FORMAT_REMOVE_COMMAND, folder);
    platform_run_command(command, REMOVE_WAIT_MS);

    platform_message(MESSAGE_CAPTION, TEXT_READY, ICON_INFORMATION);
    return 0;
}
