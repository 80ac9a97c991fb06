#include "test_support.h"

#include "zip_extract.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

ScratchDir::ScratchDir() {
    std::string pattern = (fs::temp_directory_path() / "drevix-installer-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::string read_file(const fs::path &file) {
    std::error_code missing;
    auto size = fs::file_size(file, missing);
    if (missing) return {};
    std::string bytes(size, '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void write_file(const fs::path &file, std::string_view bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

static uint32_t next_random(uint32_t &state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

std::string noise_bytes(size_t count, unsigned seed) {
    std::string bytes(count, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char &c : bytes) c = static_cast<char>(next_random(state) >> 24);
    return bytes;
}

std::string text_bytes(size_t count, unsigned seed) {
    static constexpr std::string_view WORDS[] = {"wall ",  "door ",   "maze ",   "chunk ",
                                                 "light ", "pillar ", "secret ", "\n"};
    std::string text;
    uint32_t state = seed * 2654435761u + 1;
    while (text.size() < count) text += WORDS[next_random(state) % std::size(WORDS)];
    text.resize(count);
    return text;
}

bool run_quietly(const std::string &command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string quoted(const fs::path &path) {
    std::string out = "'";
    for (char c : path.string()) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::map<std::string, std::string> files_below(const fs::path &root) {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).string()] = read_file(entry.path());
        }
    }
    return files;
}

std::set<std::string> folders_below(const fs::path &root) {
    std::set<std::string> folders;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory()) folders.insert(fs::relative(entry.path(), root).string());
    }
    return folders;
}

void extract_with_reader(const fs::path &archive, const fs::path &folder) {
    FILE *file = fopen(archive.c_str(), "rb");
    if (!file) throw std::runtime_error("cannot open " + archive.string());
    zip_extract(file, folder.c_str());
    fclose(file);
}

bool git_archive(const fs::path &folder, const std::map<std::string, std::string> &files,
                 const std::string &top_folder, const fs::path &archive) {
    for (const auto &[name, bytes] : files) write_file(folder / name, bytes);
    std::string git = "git -C " + quoted(folder) +
                      " -c user.name=Drevix -c user.email=build@drevix.example -c "
                      "init.defaultBranch=main -c commit.gpgsign=false ";
    return run_quietly(git + "init -q") && run_quietly(git + "add -A") &&
           run_quietly(git + "commit -q -m snapshot") &&
           run_quietly(git + "archive --format=zip --prefix=" + top_folder + "/ -o " +
                       quoted(archive) + " HEAD");
}
