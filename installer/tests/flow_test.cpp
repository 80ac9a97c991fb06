// The installer's whole run on Linux, through the stand-in platform layer:
// download from the sandbox's mirror, unpack, copy to the Desktop, clean up,
// and exactly one message with the right exit code.
#include "config.h"
#include "installer_flow.h"
#include "platform.h"
#include "platform_posix.h"
#include "test_support.h"
#include "zip_builder.h"
#include "zip_extract.h"

#include <gtest/gtest.h>

#include <cstring>

static const InstallerKind ZIP_KIND = {ARCHIVE_URL, zip_extract_file, TEXT_UNPACK_FAILED,
                                       FORMAT_COPY_FAILED};

struct InstallerFlow : testing::Test {
    ScratchDir sandbox;
    fs::path temp = sandbox.path / "Temp";
    fs::path desktop = sandbox.path / "Desktop";
    fs::path archive_file = temp / ARCHIVE_FILE_NAME;
    fs::path extract_folder = temp / EXTRACT_FOLDER_NAME;
    fs::path desktop_copy = desktop / DESKTOP_COPY_NAME;
    std::string game = noise_bytes(300000, 42);

    void SetUp() override {
        fs::create_directories(temp);
        fs::create_directories(desktop);
        posix_reset(sandbox.path.c_str());
    }
    // Where the mirror serves the installer's URL from.
    fs::path served() {
        std::string url = ARCHIVE_URL;
        return sandbox.path / "web" / url.substr(url.find("://") + 3);
    }
    void serve(const std::string &bytes) { write_file(served(), bytes); }
    void serve_repository(const std::map<std::string, std::string> &files,
                          const std::string &top_folder) {
        fs::create_directories(served().parent_path());
        ASSERT_TRUE(git_archive(sandbox.path / "repo", files, top_folder, served()));
    }
    // The run's one message box.
    void expect_one_message(const char *text, unsigned icon) {
        ASSERT_EQ(posix_message_count, 1);
        EXPECT_STREQ(posix_messages[0].caption.data(), "Drevix Raycaster");
        EXPECT_STREQ(posix_messages[0].text.data(), text);
        EXPECT_EQ(posix_messages[0].icon, icon);
    }
};

TEST_F(InstallerFlow, UrlIsTheMainBranchArchiveOverHttps) {
    std::string url = ARCHIVE_URL;
    EXPECT_TRUE(url.starts_with("https://"));
    EXPECT_TRUE(url.ends_with("/Drevix-Q-/archive/refs/heads/main.zip"));
}

TEST_F(InstallerFlow, PutsTheGameOnTheDesktopAndCleansUp) {
    serve_repository({{"build/raycaster.exe", game}, {"README.md", text_bytes(3000, 1)}},
                     ARCHIVE_TOP_FOLDER);
    EXPECT_EQ(installer_run(ZIP_KIND), 0);
    expect_one_message("Drevix Raycaster is ready! Check your Desktop.", ICON_INFORMATION);
    EXPECT_TRUE(read_file(desktop_copy) == game);
    EXPECT_FALSE(fs::exists(archive_file));
    EXPECT_FALSE(fs::exists(extract_folder));
    ASSERT_EQ(posix_command_count, 1);
    EXPECT_EQ(std::string(posix_commands[0].data()),
              "cmd /c rd /s /q \"" + temp.string() + "//drevix_extract\"");
    EXPECT_EQ(files_below(sandbox.path / "Desktop").size(), 1u);
}

TEST_F(InstallerFlow, SecondRunReplacesTheDesktopCopy) {
    serve_repository({{"build/raycaster.exe", "first build"}}, ARCHIVE_TOP_FOLDER);
    ASSERT_EQ(installer_run(ZIP_KIND), 0);
    serve(zip_archive({{.name = "Drevix-Q--main/build/raycaster.exe", .contents = game}}));
    posix_reset(sandbox.path.c_str());
    EXPECT_EQ(installer_run(ZIP_KIND), 0);
    expect_one_message(TEXT_READY, ICON_INFORMATION);
    EXPECT_TRUE(read_file(desktop_copy) == game);
}

TEST_F(InstallerFlow, DownloadFailure) {
    EXPECT_EQ(installer_run(ZIP_KIND), 1);
    expect_one_message("Failed to download Drevix Raycaster.", ICON_ERROR);
    EXPECT_FALSE(fs::exists(extract_folder));
    EXPECT_FALSE(fs::exists(desktop_copy));
    EXPECT_EQ(posix_command_count, 0);
}

TEST_F(InstallerFlow, ArchiveThatCannotBeOpened) {
    serve(zip_archive({{.name = "Drevix-Q--main/build/raycaster.exe", .contents = game}}));
    posix_download_vanishes = true;
    EXPECT_EQ(installer_run(ZIP_KIND), 1);
    expect_one_message("Failed to unpack.", ICON_ERROR);
    EXPECT_FALSE(fs::exists(archive_file));
    EXPECT_FALSE(fs::exists(desktop_copy));
    EXPECT_EQ(posix_command_count, 0);
}

TEST_F(InstallerFlow, UnpackFailureDeletesTheArchive) {
    serve(zip_archive({{.name = "Drevix-Q--main/build/raycaster.exe", .contents = game}}));
    InstallerKind kind = ZIP_KIND;
    kind.unpack = [](const char *, const char *) { return false; };
    kind.unpack_failed_text = TEXT_UNPACK_FAILED_SHELL;
    EXPECT_EQ(installer_run(kind), 1);
    expect_one_message("Failed to unpack. Try running as Administrator.", ICON_ERROR);
    EXPECT_FALSE(fs::exists(archive_file));
}

// An archive of another repository has another top folder: the copy fails
// with the system's code for a missing file, and the extraction folder stays.
TEST_F(InstallerFlow, ArchiveWithoutTheExpectedFolder) {
    serve_repository({{"build/raycaster.exe", game}}, "Other-Repo-main");
    EXPECT_EQ(installer_run(ZIP_KIND), 1);
    expect_one_message("Copy failed (error 2).", ICON_ERROR);
    EXPECT_FALSE(fs::exists(archive_file));
    EXPECT_TRUE(read_file(extract_folder / "Other-Repo-main/build/raycaster.exe") == game);
    EXPECT_FALSE(fs::exists(desktop_copy));
    EXPECT_EQ(posix_command_count, 0);
}

// A corrupt game never reaches the Desktop, not even as an empty file.
TEST_F(InstallerFlow, CorruptGameIsNotCopied) {
    serve(
        zip_archive({{.name = "Drevix-Q--main/build/raycaster.exe", .contents = game, .crc = 5}}));
    EXPECT_EQ(installer_run(ZIP_KIND), 1);
    expect_one_message("Copy failed (error 2).", ICON_ERROR);
    EXPECT_FALSE(fs::exists(desktop_copy));
}

// A server's error page arrives as a download that succeeded.
TEST_F(InstallerFlow, ErrorPageInsteadOfAnArchive) {
    serve("<html><body>404 Not Found</body></html>");
    EXPECT_EQ(installer_run(ZIP_KIND), 1);
    expect_one_message("Copy failed (error 2).", ICON_ERROR);
    EXPECT_FALSE(fs::exists(archive_file));
    EXPECT_TRUE(fs::is_empty(extract_folder));
}

TEST_F(InstallerFlow, CopyFailureMessageOfTheShellBuild) {
    serve(zip_archive({{.name = "elsewhere.txt", .contents = "x"}}));
    InstallerKind kind = ZIP_KIND;
    kind.copy_failed_format = FORMAT_COPY_FAILED_SHELL;
    EXPECT_EQ(installer_run(kind), 1);
    expect_one_message("Copy failed (error 2). Try running as Administrator.", ICON_ERROR);
}
