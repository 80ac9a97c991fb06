// The reader against archives made to hurt: names that climb out of the
// destination, broken data, lying headers, odd methods and limits.
#include "test_support.h"
#include "zip_builder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

struct HostileArchive : testing::Test {
    ScratchDir scratch;
    // The destination sits two folders down, so that a climb out of it
    // still lands inside the scratch folder, where the test can see it.
    fs::path destination = scratch.path / "box" / "inner" / "dest";
    fs::path archive = scratch.path / "archive.zip";
    void SetUp() override { fs::create_directories(destination); }
    void extract(const std::vector<ZipEntry> &entries) {
        write_file(archive, zip_archive(entries));
        extract_with_reader(archive, destination);
    }
    std::map<std::string, std::string> extracted() { return files_below(destination); }
};

TEST_F(HostileArchive, NamesOutsideTheDestinationAreSkippedAndTheWalkGoesOn) {
    fs::path absolute = scratch.path / "absolute.txt";
    extract({
        {.name = "../up.txt", .contents = "x"},
        {.name = "a/../../up2.txt", .contents = "x"},
        {.name = "..\\up3.txt", .contents = "x"},
        {.name = "a\\..\\..\\..\\up4.txt", .contents = "x"},
        {.name = "a/..", .contents = "x"},
        {.name = ".../up5.txt", .contents = "x"},
        {.name = ".. /up6.txt", .contents = "x"},
        {.name = absolute.string(), .contents = "x"},
        {.name = "\\" + absolute.string().substr(1), .contents = "x"},
        {.name = "C:up7.txt", .contents = "x"},
        {.name = "c:/up8.txt", .contents = "x"},
        {.name = "inside.txt", .contents = "kept"},
        {.name = "a/b/../c.txt", .contents = "x"},
        {.name = "./dot/ok.txt", .contents = "kept too"},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"inside.txt", "kept"},
                                                               {"dot/ok.txt", "kept too"}}));
    // Nothing anywhere else in the scratch folder but the archive.
    auto everything = files_below(scratch.path);
    EXPECT_EQ(everything.size(), 3u);
    EXPECT_FALSE(fs::exists(absolute));
}

TEST_F(HostileArchive, BackslashesSeparateFoldersAsOnWindows) {
    extract({{.name = "dir\\sub\\file.txt", .contents = "data"}});
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"dir/sub/file.txt", "data"}}));
}

TEST_F(HostileArchive, NestedNamesCreateEveryParentFolderAndFolderEntriesNothing) {
    extract({
        {.name = "only/folders/", .contents = "", .method = 0},
        // Some writers give folder entries an empty deflate stream as data.
        {.name = "also\\folder\\", .contents = ""},
        {.name = "a/b/c.txt", .contents = "c", .method = 0},
    });
    EXPECT_EQ(folders_below(destination), (std::set<std::string>{"a", "a/b"}));
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"a/b/c.txt", "c"}}));
}

TEST_F(HostileArchive, CorruptDeflateDataLeavesNoFileAndTheNextEntryComesOut) {
    std::string good = deflate_raw(text_bytes(5000, 1));
    std::string broken = good;
    broken[0] = static_cast<char>(0xFF); // reserved block type
    extract({
        {.name = "broken.txt", .contents = text_bytes(5000, 1), .data = broken},
        {.name = "cut.txt", .contents = text_bytes(5000, 1), .data = good.substr(0, 100)},
        {.name = "next.txt", .contents = "next"},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"next.txt", "next"}}));
}

TEST_F(HostileArchive, ChecksumMismatchLeavesNoFileAndTheNextEntryComesOut) {
    extract({
        {.name = "stored.bin", .contents = noise_bytes(1000, 1), .method = 0, .crc = 1234},
        {.name = "deflated.txt", .contents = text_bytes(300000, 2), .crc = 99},
        {.name = "next.txt", .contents = "next"},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"next.txt", "next"}}));
}

// The header's size is the promise: output shorter or longer fails the entry,
// and stored data must have the size it claims to unpack to.
TEST_F(HostileArchive, InflatedSizeDifferentFromTheHeaderLeavesNoFile) {
    std::string text = text_bytes(600000, 3);
    extract({
        {.name = "short.txt", .contents = text, .size = 600001},
        {.name = "long.txt", .contents = text, .size = 599999},
        {.name = "huge.txt", .contents = "tiny", .size = 0xFFFFFFFE},
        {.name = "stored_long.txt", .contents = text, .method = 0, .size = 599999},
        {.name = "stored_short.txt", .contents = text, .method = 0, .size = 600001},
        {.name = "exact.txt", .contents = text},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"exact.txt", text}}));
}

TEST_F(HostileArchive, FailedEntryRemovesTheFileAnEarlierExtractionLeft) {
    extract({{.name = "game.exe", .contents = "good build"}});
    extract({{.name = "game.exe", .contents = "new build", .crc = 7}});
    EXPECT_TRUE(extracted().empty());
}

TEST_F(HostileArchive, UnknownMethodLeavesNoFileAndTheWalkGoesOn) {
    extract({
        {.name = "method12.bin", .contents = "pretend this is bzip2", .method = 12},
        {.name = "next.txt", .contents = "next", .method = 0},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"next.txt", "next"}}));
}

// Names up to 511 bytes are read; a longer one is skipped whole.
TEST_F(HostileArchive, NameLengthLimit) {
    auto long_name = [](size_t length) {
        std::string name;
        while (name.size() + 101 < length) name += std::string(100, 'n') + "/";
        return name + std::string(length - name.size(), 'f');
    };
    extract({
        {.name = long_name(600), .contents = "too long"},
        {.name = long_name(512), .contents = "too long"},
        {.name = long_name(511), .contents = "fits"},
        {.name = "after.txt", .contents = "after"},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{long_name(511), "fits"},
                                                               {"after.txt", "after"}}));
}

// Destination plus name must fit in 1024 bytes; a cut path could name some
// other file, so the entry is skipped instead.
TEST_F(HostileArchive, OutputPathThatWouldBeCutIsSkipped) {
    destination = scratch.path;
    for (int i = 0; i < 6; ++i) destination /= std::string(100, 'd');
    fs::create_directories(destination);
    std::string name = std::string(200, 'a') + "/" + std::string(200, 'b');
    ASSERT_GT(destination.string().size() + 1 + name.size(), 1023u);
    extract({
        {.name = name, .contents = "would be cut"},
        {.name = "short.txt", .contents = "fits"},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"short.txt", "fits"}}));
    EXPECT_TRUE(folders_below(destination).empty());
}

TEST_F(HostileArchive, DataDescriptorEntryEndsTheWalkWithoutAFile) {
    extract({
        {.name = "first.txt", .contents = "first"},
        {.name = "streamed.txt", .contents = "streamed", .flags = 0x0008},
        {.name = "after.txt", .contents = "after"},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"first.txt", "first"}}));
}

// Sizes of 0xFFFFFFFF are markers: the real ones are in the zip64 extra
// field, only those marked and in the order size, compressed size.
TEST_F(HostileArchive, Zip64SizesComeFromTheExtraField) {
    constexpr uint32_t MARK = 0xFFFFFFFF;
    std::string text = text_bytes(300000, 8);
    std::string packed = deflate_raw(text);
    std::string other_field("\x55\x54\x05\x00\x01\x00\x00\x00\x00", 9);
    extract({
        {.name = "both.txt",
         .contents = text,
         .size = MARK,
         .compressed_size = MARK,
         .extra = other_field + zip64_extra({text.size(), packed.size()})},
        {.name = "size.txt", .contents = text, .size = MARK, .extra = zip64_extra({text.size()})},
        {.name = "compressed.txt",
         .contents = text,
         .compressed_size = MARK,
         .extra = zip64_extra({packed.size()})},
        {.name = "stored.txt",
         .contents = text,
         .method = 0,
         .size = MARK,
         .compressed_size = MARK,
         .extra = zip64_extra({text.size(), text.size()})},
    });
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"both.txt", text},
                                                               {"size.txt", text},
                                                               {"compressed.txt", text},
                                                               {"stored.txt", text}}));
}

// A marker with no value behind it leaves the entry without a size: the walk
// ends there, without a file for it (not even an earlier one).
TEST_F(HostileArchive, Zip64MarkersWithoutTheirValuesEndTheWalk) {
    constexpr uint32_t MARK = 0xFFFFFFFF;
    std::string past_the_end = zip64_extra({5, 5});
    past_the_end[2] = 17;
    for (std::string extra : {std::string(), zip64_extra({5}), past_the_end,
                              std::string("\x02\x00\x10\x00", 4) + std::string(16, '\5')}) {
        fs::remove_all(destination);
        write_file(destination / "unsized.txt", "from an earlier run");
        extract({
            {.name = "first.txt", .contents = "first"},
            {.name = "unsized.txt",
             .contents = "hello",
             .method = 0,
             .size = MARK,
             .compressed_size = MARK,
             .extra = extra},
            {.name = "after.txt", .contents = "after"},
        });
        EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"first.txt", "first"}}));
    }
}

// A raw deflate stream of that many MiB of zeros, about 1 KiB per MiB: one
// MiB compressed and flushed so that it stands alone, repeated, then an empty
// final block.
static std::string zeros_stream(size_t mebibytes) {
    std::string zeros(1 << 20, '\0');
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string block(deflateBound(&stream, zeros.size()) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef *>(zeros.data());
    stream.avail_in = static_cast<uInt>(zeros.size());
    stream.next_out = reinterpret_cast<Bytef *>(block.data());
    stream.avail_out = static_cast<uInt>(block.size());
    deflate(&stream, Z_FULL_FLUSH);
    block.resize(stream.total_out);
    deflateEnd(&stream);
    std::string out;
    for (size_t i = 0; i < mebibytes; ++i) out += block;
    return out + std::string("\x03\x00", 2);
}

// A zip64 entry that claims 1,000 bytes whose 1 MB of data inflates to
// 1 GiB. Run with files limited to the claimed size, where one byte more
// kills the process: the reader writes nothing beyond the claim, fails the
// entry and goes on with the next.
TEST_F(HostileArchive, Zip64EntryInflatingPastItsSizeStopsAtTheSize) {
    constexpr uint64_t CLAIMED = 1000;
    std::string stream = zeros_stream(1024);
    {
        // The stream does inflate past the claim.
        std::string head(2 << 20, '\1');
        z_stream check{};
        inflateInit2(&check, -MAX_WBITS);
        check.next_in = reinterpret_cast<Bytef *>(stream.data());
        check.avail_in = static_cast<uInt>(stream.size());
        check.next_out = reinterpret_cast<Bytef *>(head.data());
        check.avail_out = static_cast<uInt>(head.size());
        EXPECT_EQ(inflate(&check, Z_NO_FLUSH), Z_OK);
        EXPECT_EQ(check.avail_out, 0u);
        EXPECT_EQ(head, std::string(head.size(), '\0'));
        inflateEnd(&check);
    }
    write_file(archive, zip_archive({
                            {.name = "claims_1000.bin",
                             .contents = std::string(CLAIMED, '\0'),
                             .size = 0xFFFFFFFF,
                             .data = stream,
                             .compressed_size = 0xFFFFFFFF,
                             .extra = zip64_extra({CLAIMED, stream.size()})},
                            {.name = "next.txt", .contents = "next"},
                        }));
    auto extract_limited = [&] {
        rlimit limit = {};
        limit.rlim_cur = limit.rlim_max = CLAIMED;
        setrlimit(RLIMIT_FSIZE, &limit);
        extract_with_reader(archive, destination);
        exit(0);
    };
    EXPECT_EXIT(extract_limited(), testing::ExitedWithCode(0), "");
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"next.txt", "next"}}));
}

TEST_F(HostileArchive, DataShorterThanItsHeaderSaysEndsTheWalkWithoutAFile) {
    std::string full =
        zip_archive({{.name = "big.bin", .contents = noise_bytes(100000, 4), .method = 0}});
    write_file(archive, full.substr(0, 50000));
    extract_with_reader(archive, destination);
    EXPECT_TRUE(extracted().empty());
}

TEST_F(HostileArchive, HeaderClaimingGigabytesOfDataEndsTheWalk) {
    extract({{.name = "claims.bin", .contents = "x", .method = 0, .compressed_size = 0xFFFFFFF0}});
    EXPECT_TRUE(extracted().empty());
}

TEST_F(HostileArchive, EmptyNameEndsTheWalk) {
    extract({{.name = "", .contents = "x"}, {.name = "after.txt", .contents = "after"}});
    EXPECT_TRUE(extracted().empty());
}

TEST_F(HostileArchive, EmptyArchivesAndOtherFilesExtractNothing) {
    for (std::string bytes : {std::string(), zip_archive({}), std::string("<html>404</html>"),
                              std::string("PK\x03\x04 short", 10), noise_bytes(5000, 5)}) {
        write_file(archive, bytes);
        extract_with_reader(archive, destination);
        EXPECT_TRUE(extracted().empty());
        EXPECT_TRUE(folders_below(destination).empty());
    }
}

TEST_F(HostileArchive, EmptyFilesAreFiles) {
    extract(
        {{.name = "stored", .contents = "", .method = 0}, {.name = "deflated", .contents = ""}});
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"stored", ""}, {"deflated", ""}}));
}

TEST_F(HostileArchive, ExtractingAgainOverwrites) {
    extract({{.name = "a/file.txt", .contents = text_bytes(10000, 6)},
             {.name = "b.bin", .contents = noise_bytes(5000, 7), .method = 0}});
    extract({{.name = "a/file.txt", .contents = "shorter"},
             {.name = "b.bin", .contents = "also shorter", .method = 0}});
    EXPECT_EQ(extracted(), (std::map<std::string, std::string>{{"a/file.txt", "shorter"},
                                                               {"b.bin", "also shorter"}}));
}
