// The reader against archives made by real tools: whatever those tools write
// with stored or deflated entries must come out exactly as unzip has it.
#include "config.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

// Debian's own, whatever other python3 comes first on PATH.
static const std::string PYTHON = "/usr/bin/python3";

// A source tree with what a game repository holds: text that compresses,
// binaries that do not, files bigger than the reader's buffers, an empty
// file, deep and spaced names, and an empty folder.
static std::map<std::string, std::string> sample_tree() {
    return {
        {"README.md", text_bytes(5000, 1)},
        {"raycaster/world.cpp", text_bytes(40000, 2)},
        {"assets/noise.bin", noise_bytes(700 * 1024 + 17, 3)},
        {"assets/level text.txt", text_bytes(1024 * 1024 + 5, 4)},
        {"empty.txt", ""},
        {"deep/a/b/c/d/leaf.txt", text_bytes(100, 5)},
        {"build/raycaster.exe", noise_bytes(200000, 6)},
    };
}

static void write_tree(const fs::path &root, const std::map<std::string, std::string> &tree) {
    for (const auto &[name, bytes] : tree) write_file(root / name, bytes);
    fs::create_directories(root / "empty_folder");
}

// The reader's output equals unzip's file for file; the only folders it
// makes are those that hold files.
static void expect_same_as_unzip(const fs::path &archive, const fs::path &scratch) {
    fs::path ours = scratch / "ours";
    fs::path theirs = scratch / "theirs";
    fs::create_directories(ours);
    ASSERT_TRUE(run_quietly("unzip -q -o " + quoted(archive) + " -d " + quoted(theirs)));
    extract_with_reader(archive, ours);

    auto expected = files_below(theirs);
    auto got = files_below(ours);
    ASSERT_FALSE(expected.empty());
    for (const auto &[name, bytes] : expected) {
        auto found = got.find(name);
        ASSERT_NE(found, got.end()) << "missing " << name;
        EXPECT_TRUE(found->second == bytes) << "differs: " << name;
    }
    EXPECT_EQ(got.size(), expected.size());

    std::set<std::string> parents;
    for (const auto &[name, bytes] : expected) {
        for (fs::path p = fs::path(name).parent_path(); !p.empty(); p = p.parent_path()) {
            parents.insert(p.string());
        }
    }
    EXPECT_EQ(folders_below(ours), parents);
}

struct ToolArchive : testing::Test {
    ScratchDir scratch;
    fs::path source = scratch.path / "source";
    fs::path archive = scratch.path / "archive.zip";
    void SetUp() override { write_tree(source, sample_tree()); }
    // Runs a tool inside the source folder.
    bool make(const std::string &command) {
        return run_quietly("cd " + quoted(source) + " && " + command);
    }
};

TEST_F(ToolArchive, ZipStoredAndDeflated) {
    ASSERT_TRUE(make("zip -q -r -0 " + quoted(archive) + " ."));
    expect_same_as_unzip(archive, scratch.path / "stored");
    fs::remove(archive);
    ASSERT_TRUE(make("zip -q -r -9 " + quoted(archive) + " ."));
    expect_same_as_unzip(archive, scratch.path / "deflated");
}

TEST_F(ToolArchive, PythonZipfileStoredAndDeflated) {
    for (const char *method : {"ZIP_STORED", "ZIP_DEFLATED"}) {
        fs::remove(archive);
        std::string script = "import os, zipfile\n"
                             "with zipfile.ZipFile('" +
                             archive.string() + "', 'w', zipfile." + method +
                             ") as z:\n"
                             "    for root, dirs, files in os.walk('.'):\n"
                             "        for d in dirs: z.write(os.path.join(root, d))\n"
                             "        for f in files: z.write(os.path.join(root, f))\n";
        write_file(scratch.path / "make.py", script);
        ASSERT_TRUE(make(PYTHON + " " + quoted(scratch.path / "make.py"))) << method;
        expect_same_as_unzip(archive, scratch.path / method);
    }
}

TEST_F(ToolArchive, SevenZip) {
    ASSERT_TRUE(make("7z a -tzip " + quoted(archive) + " ."));
    expect_same_as_unzip(archive, scratch.path / "out");
}

TEST_F(ToolArchive, GitArchiveOfARepository) {
    auto tree = sample_tree();
    ASSERT_TRUE(git_archive(scratch.path / "repo", tree, "Drevix-Q--main", archive));
    expect_same_as_unzip(archive, scratch.path / "out");
    EXPECT_EQ(read_file(scratch.path / "out/ours/Drevix-Q--main/build/raycaster.exe"),
              tree["build/raycaster.exe"]);
}

// Deflate64 (method 9) is not read: those files are left out and the walk
// goes on to the entries 7-Zip stored (empty and incompressible files).
TEST_F(ToolArchive, SevenZipDeflate64LeavesItsFilesOut) {
    ASSERT_TRUE(make("7z a -tzip -mm=Deflate64 " + quoted(archive) + " ."));
    fs::path out = scratch.path / "out";
    fs::create_directories(out);
    extract_with_reader(archive, out);
    auto tree = sample_tree();
    auto got = files_below(out);
    EXPECT_EQ(got.count("README.md"), 0u);
    EXPECT_EQ(got.count("assets/level text.txt"), 0u);
    EXPECT_EQ(got.count("raycaster/world.cpp"), 0u);
    EXPECT_EQ(got.count("assets/noise.bin"), 1u);
    EXPECT_EQ(got.count("empty.txt"), 1u);
    for (const auto &[name, bytes] : got) EXPECT_TRUE(bytes == tree[name]) << name;
}

// Streaming writers put the sizes and checksum after the data, flagged in
// the header. The reader cannot find its way past such data, so the walk
// ends at the first one, leaving no file for it: an archive like this
// installs nothing rather than something half-written.
TEST_F(ToolArchive, DataDescriptorArchivesEndTheWalkAtTheFirstFile) {
    for (std::string tool : {"bsdtar --format zip -cf", "zip -q -r -fd"}) {
        fs::remove(archive);
        ASSERT_TRUE(make(tool + " " + quoted(archive) + " .")) << tool;
        ASSERT_TRUE(run_quietly("unzip -tq " + quoted(archive))) << tool;
        fs::path out = scratch.path / "out";
        fs::remove_all(out);
        fs::create_directories(out);
        extract_with_reader(archive, out);
        EXPECT_TRUE(files_below(out).empty()) << tool;
        EXPECT_TRUE(folders_below(out).empty()) << tool;
    }
}

// Files whose sizes lie around the multiples of zlib's 32 KiB window, of
// 64 KiB and of the reader's chunk: just below, at and just past each, and
// further past the chunk, where it can fill with output after the last input
// byte went in. Runs of one byte deflate about a thousand to one, so such a
// stream ends within one input chunk; noise is stored by most writers.
static std::set<size_t> sweep_sizes() {
    constexpr size_t KIB = 1024;
    std::set<size_t> sizes;
    for (size_t k = 1; k <= 8; ++k) {
        for (size_t d : {0, 1, 2}) sizes.insert(k * 32 * KIB + d - 1);
    }
    for (size_t k = 1; k <= 4; ++k) sizes.insert(k * 64 * KIB + 100);
    for (size_t multiple : {ZIP_CHUNK, 256 * KIB}) {
        for (size_t d :
             {2, 3, 8, 16, 24, 32, 53, 64, 100, 128, 160, 200, 230, 255, 256, 300, 512, 4096}) {
            sizes.insert(multiple + d);
        }
        for (size_t d : {0, 1, 2, 101}) sizes.insert(2 * multiple + d - 1);
    }
    return sizes;
}

static size_t count_files(const fs::path &root) {
    size_t count = 0;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        count += entry.is_regular_file();
    }
    return count;
}

// Every archive comes out as unzip has it, and unzip finds every file.
struct WriterSweep : testing::Test {
    ScratchDir scratch;
    fs::path source = scratch.path / "source";
    fs::path python_writer = scratch.path / "writer.py";
    size_t file_count = 0;
    void SetUp() override {
        write_file(python_writer,
                   "import os, sys, zipfile\n"
                   "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                   "    for folder, _, files in sorted(os.walk('.')):\n"
                   "        for f in sorted(files):\n"
                   "            path = os.path.join(folder, f)\n"
                   "            with open(path, 'rb') as i, z.open(path[2:], 'w',\n"
                   "                    force_zip64=len(sys.argv) > 2) as o:\n"
                   "                o.write(i.read())\n");
    }
    void add(const std::string &name, const std::string &bytes) {
        write_file(source / name, bytes);
        ++file_count;
    }
    void add_runs_and_noise(const std::set<size_t> &runs, const std::set<size_t> &noise) {
        for (size_t size : runs) {
            add("zero/" + std::to_string(size), std::string(size, '\0'));
            add("byte/" + std::to_string(size), std::string(size, 'x'));
        }
        for (size_t size : noise) {
            add("noise/" + std::to_string(size), noise_bytes(size, static_cast<unsigned>(size)));
        }
    }
    // Runs command + archive + rest inside the source folder, then compares.
    fs::path check(const std::string &name, const std::string &command,
                   const std::string &rest = "", size_t files = 0) {
        fs::path archive = scratch.path / (name + ".zip");
        EXPECT_TRUE(
            run_quietly("cd " + quoted(source) + " && " + command + " " + quoted(archive) + rest))
            << name;
        fs::path out = scratch.path / name;
        expect_same_as_unzip(archive, out);
        EXPECT_EQ(count_files(out / "theirs"), files ? files : file_count) << name;
        fs::remove_all(out);
        return archive;
    }
};

TEST_F(WriterSweep, FilesAroundBufferSizesFromEveryWriter) {
    add_runs_and_noise(sweep_sizes(), {65535, 65536, 65537, 196607, 196608, 196609, 524289});
    check("zip", "zip -q -r", " .");
    check("python", PYTHON + " " + quoted(python_writer));
    check("7z", "7z a -tzip -bd -bso0", " .");
}

// Zip64 local headers: sizes of 0xFFFFFFFF, the real ones in the extra
// field, from Info-ZIP forced to zip64 (from files and from a pipe) and from
// 7-Zip reading a pipe. Python forced to zip64 adds the field but keeps the
// real sizes in the header, as long as they fit.
TEST_F(WriterSweep, Zip64FromEveryWriterThatMakesIt) {
    std::set<size_t> runs = {ZIP_CHUNK + 100, ZIP_CHUNK + 128, 2 * ZIP_CHUNK + 100, 65537};
    add_runs_and_noise(runs, {65537, ZIP_CHUNK + 1});
    // The first local header's sizes and extra field.
    auto first_header = [](const fs::path &archive) {
        std::string bytes = read_file(archive);
        auto u16 = [&](size_t at) {
            return static_cast<size_t>(static_cast<unsigned char>(bytes[at]) |
                                       static_cast<unsigned char>(bytes[at + 1]) << 8);
        };
        return std::pair{bytes.substr(18, 8), bytes.substr(30 + u16(26), u16(28))};
    };
    const std::string MARKERS(8, '\xFF');
    auto [sizes, extra] =
        first_header(check("python64", PYTHON + " " + quoted(python_writer), " zip64"));
    EXPECT_NE(sizes, MARKERS);
    EXPECT_EQ(extra.substr(0, 4), std::string("\x01\x00\x10\x00", 4));
    EXPECT_EQ(first_header(check("zip64", "zip -q -r -fz", " .")).first, MARKERS);
    std::string pipe = "cat zero/" + std::to_string(ZIP_CHUNK + 100) + " | ";
    EXPECT_EQ(first_header(check("zip64pipe", pipe + "zip -q -fz", " -", 1)).first, MARKERS);
    EXPECT_EQ(
        first_header(check("7z64pipe", pipe + "7z a -tzip -bd -bso0 -sifile.bin", "", 1)).first,
        MARKERS);
}
