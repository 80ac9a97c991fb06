#include "player_file.h"
#include "user_files.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr std::string_view BOM = "\xEF\xBB\xBF";

bool valid_utf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra == 1 && c < 0xC2) || c > 0xF4 || i + extra >= s.size())
            return false;
        for (int k = 1; k <= extra; k++)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// UTF-16 text (Notepad's "Unicode"), a picture, a program: rewriting it
// would keep nothing of it, so it is moved aside. A NUL byte or two in a
// text file only cost their lines.
bool unusable(std::string_view text) {
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) return true;
    size_t nuls = 0;
    for (char c : text) nuls += c == '\0';
    return nuls > text.size() / 4;
}

size_t folder_end(const std::string &path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace

std::string player_file_size_text(size_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MiB";
    return std::to_string(bytes / 1024) + " KiB";
}

int player_file_read(const std::string &path, size_t max_bytes, PlayerFile *f) {
    f->path = path;
    f->text.clear();
    f->had_bom = 0;
    f->error.clear();
    f->max_bytes = max_bytes;
    int missing = 0;
    if (!read_user_file(path, max_bytes, &f->text, &missing, &f->error)) {
        f->state = missing ? PLAYER_FILE_MISSING : PLAYER_FILE_UNREADABLE;
        f->text.clear();
        return 0;
    }
    f->state = PLAYER_FILE_UNREADABLE;
    if (f->text.size() > max_bytes)
        f->error = "larger than " + player_file_size_text(max_bytes);
    else if (f->text.rfind(BOM, 0) == 0) {
        f->text.erase(0, BOM.size());
        f->had_bom = 1;
    }
    if (f->error.empty() && unusable(f->text)) f->error = "not UTF-8 text";
    if (!f->error.empty()) {
        f->text.clear();
        f->had_bom = 0;
        return 0;
    }
    f->state = PLAYER_FILE_READ;
    return 1;
}

std::vector<PlayerFileLine> player_file_lines(std::string_view text) {
    std::vector<PlayerFileLine> lines;
    int number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        number++;
        PlayerFileLine l{number, {}, {}, {}};
        std::string_view t = trim(line);
        if (line.find('\0') != std::string_view::npos)
            l.problem = "contains a NUL byte";
        else if (!valid_utf8(line))
            l.problem = "not UTF-8";
        else if (t.empty() || t.front() == '#')
            continue;
        else if (t.find('=') == std::string_view::npos)
            l.problem = "no '='";
        else {
            size_t eq = t.find('=');
            l.key = trim(t.substr(0, eq));
            l.value = trim(t.substr(eq + 1));
        }
        lines.push_back(std::move(l));
    }
    return lines;
}

int player_file_move_aside(PlayerFile *f, const char *stem, std::string *moved_to) {
    std::time_t now = std::time(nullptr);
    char stamp[32] = "";
    if (const std::tm *local = std::localtime(&now))
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local);
    std::string base = f->path.substr(0, folder_end(f->path)) + stem + "-unreadable-" + stamp;
    for (int n = 1; n < 100; n++) {
        // Appended piece by piece: GCC 12 warns falsely on "-" + std::string.
        std::string name = base;
        if (n > 1) name += '-' + std::to_string(n);
        name += ".ini";
        int exists = 0;
        std::string error;
        if (move_user_file(f->path, name, &exists, &error)) {
            *moved_to = name;
            f->state = PLAYER_FILE_MISSING;
            f->text.clear();
            f->had_bom = 0;
            return 1;
        }
        if (!exists) {
            f->error = error;
            return 0;
        }
    }
    f->error = "too many files moved aside this second";
    return 0;
}

int player_file_write(PlayerFile *f, const std::string &text, std::string *message) {
    std::string out = (f->had_bom ? std::string(BOM) : "") + text, error;
    if (f->state == PLAYER_FILE_UNREADABLE)
        error = "could not be read (" + f->error + "); not replaced";
    else if (f->max_bytes && out.size() > f->max_bytes)
        error = "the new text would be larger than " + player_file_size_text(f->max_bytes);
    if (!error.empty() || !replace_user_file(f->path, out, &error)) {
        *message = "NOT SAVED: " + f->path + ": " + error;
        std::fprintf(stderr, "Drevix Raycaster: %s\n", message->c_str());
        return 0;
    }
    f->text = text;
    f->state = PLAYER_FILE_READ;
    return 1;
}
