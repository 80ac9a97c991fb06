// libFuzzer harness for the zip reader: any bytes as an archive file,
// extracted into a scratch folder. Besides the sanitizers' findings, a file
// or folder that appears anywhere but below the destination is a crash.
#include "zip_extract.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

static fs::path scratch_root;

static void remove_scratch() {
    std::error_code ignored;
    fs::remove_all(scratch_root, ignored);
}

static void make_scratch() {
    std::string pattern = (fs::temp_directory_path() / "drevix-zip-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) abort();
    scratch_root = pattern;
    atexit(remove_scratch);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (scratch_root.empty()) make_scratch();
    // Two levels down, so that a climb out of it is still seen.
    fs::path destination = scratch_root / "a" / "b" / "dest";
    fs::path input = scratch_root / "input.zip";
    fs::create_directories(destination);

    FILE *file = fopen(input.c_str(), "wb");
    if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) abort();
    file = fopen(input.c_str(), "rb");
    if (!file) abort();
    zip_extract(file, destination.c_str());
    fclose(file);

    for (const auto &entry : fs::recursive_directory_iterator(scratch_root)) {
        const fs::path &path = entry.path();
        bool expected = path == input || path == scratch_root / "a" ||
                        path == scratch_root / "a" / "b" ||
                        path.string().starts_with(destination.string());
        if (!expected) {
            fprintf(stderr, "written outside the destination: %s\n", path.c_str());
            abort();
        }
    }
    fs::remove_all(destination);
    return 0;
}
