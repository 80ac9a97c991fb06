// The installer's platform layer on Windows: the Win32 calls themselves.
#include "platform.h"

#include "config.h"

#include <windows.h>
#include <shlobj.h>
#include <urlmon.h>

void platform_temp_folder(char *out, int size) {
    GetTempPathA(static_cast<DWORD>(size), out);
}

void platform_desktop_folder(char *out, int /*size: at least MAX_PATH*/) {
    SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, out);
}

bool platform_download(const char *url, const char *file) {
    return URLDownloadToFileA(nullptr, url, file, 0, nullptr) >= 0;
}

void platform_create_directory(const char *path) {
    CreateDirectoryA(path, nullptr);
}

void platform_delete_file(const char *path) {
    DeleteFileA(path);
}

bool platform_copy_file(const char *from, const char *to, unsigned long &error) {
    if (CopyFileA(from, to, FALSE)) return true;
    error = GetLastError();
    return false;
}

void platform_run_command(const char *command_line, unsigned wait_ms) {
    // CreateProcessA may write into the command line, so it gets a copy.
    char command[COMMAND_BUF];
    lstrcpynA(command, command_line, sizeof command);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return;
    }
    WaitForSingleObject(process.hProcess, wait_ms);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

void platform_message(const char *caption, const char *text, unsigned icon) {
    MessageBoxA(nullptr, text, caption, MB_OK | icon);
}
