// The reader against archives made by real tools: whatever those tools write
// with stored or deflated entries must come out exactly as unzip has it.
#include "test_support.h"

#include <gtest/gtest.h>

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
        ASSERT_TRUE(make("python3 " + quoted(scratch.path / "make.py"))) << method;
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
