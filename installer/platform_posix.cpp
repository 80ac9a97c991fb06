#include "platform.h"
#include "platform_posix.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

std::array<char, 512> posix_sandbox{};
std::array<RecordedMessage, POSIX_MAX_RECORDS> posix_messages{};
int posix_message_count = 0;
std::array<std::array<char, 1024>, POSIX_MAX_RECORDS> posix_commands{};
int posix_command_count = 0;
bool posix_download_vanishes = false;

void posix_reset(const char *sandbox) {
    snprintf(posix_sandbox.data(), posix_sandbox.size(), "%s", sandbox);
    posix_message_count = 0;
    posix_command_count = 0;
    posix_download_vanishes = false;
}

void platform_temp_folder(char *out, int size) {
    snprintf(out, size, "%s/Temp/", posix_sandbox.data());
}

void platform_desktop_folder(char *out, int size) {
    snprintf(out, size, "%s/Desktop", posix_sandbox.data());
}

bool platform_download(const char *url, const char *file) {
    std::string_view rest(url);
    size_t scheme_end = rest.find("://");
    if (scheme_end == std::string_view::npos) return false;
    rest.remove_prefix(scheme_end + 3);
    std::filesystem::path source = std::filesystem::path(posix_sandbox.data()) / "web" / rest;
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) return false;
    std::filesystem::copy_file(source, file, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) return false;
    if (posix_download_vanishes) unlink(file);
    return true;
}

void platform_create_directory(const char *path) {
    mkdir(path, 0777);
}

void platform_delete_file(const char *path) {
    unlink(path);
}

bool platform_copy_file(const char *from, const char *to, unsigned long &error) {
    std::error_code code;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, code);
    error = static_cast<unsigned long>(code.value());
    return !code;
}

// Only the one command the installer starts is understood: removal of a
// folder through the command interpreter, done here in-process.
void platform_run_command(const char *command_line, unsigned /*wait_ms*/) {
    if (posix_command_count < POSIX_MAX_RECORDS) {
        auto &record = posix_commands[posix_command_count++];
        snprintf(record.data(), record.size(), "%s", command_line);
    }
    std::string_view command(command_line);
    constexpr std::string_view REMOVE = "cmd /c rd /s /q \"";
    if (!command.starts_with(REMOVE) || !command.ends_with('"')) return;
    command.remove_prefix(REMOVE.size());
    command.remove_suffix(1);
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(command), error);
}

void platform_message(const char *caption, const char *text, unsigned icon) {
    if (posix_message_count >= POSIX_MAX_RECORDS) return;
    RecordedMessage &record = posix_messages[posix_message_count++];
    snprintf(record.caption.data(), record.caption.size(), "%s", caption);
    snprintf(record.text.data(), record.text.size(), "%s", text);
    record.icon = icon;
}
