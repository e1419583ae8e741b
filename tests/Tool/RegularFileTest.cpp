#include "Tool/RegularFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using Tool::readRegularFile;

namespace {

class RegularFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = std::filesystem::temp_directory_path() /
                    ("brumbly-regular-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::filesystem::path write(const std::string& name, const std::string& text) const {
        std::ofstream(directory / name, std::ios::binary) << text;
        return directory / name;
    }

    std::filesystem::path directory;
};

} // namespace

TEST_F(RegularFileTest, ReadsRegularFilesUpToTheLimitThroughLinks) {
    const std::filesystem::path file = write("text", std::string("one\0two\r\n", 9));
    std::filesystem::create_symlink(file, directory / "link");
    for (const auto& path : {file, directory / "link"}) {
        std::string contents = "old";
        EXPECT_FALSE(readRegularFile(path, 9, contents));
        EXPECT_EQ(contents, std::string("one\0two\r\n", 9));
    }
    std::string contents = "old";
    EXPECT_EQ(readRegularFile(file, 8, contents), std::errc::file_too_large);
    EXPECT_EQ(contents, "old");
    EXPECT_FALSE(readRegularFile(write("empty", ""), 0, contents));
    EXPECT_EQ(contents, "");
}

// Each of these once made a reader throw, block or fill memory without end.
TEST_F(RegularFileTest, RefusesEverythingElseWithoutReading) {
    ASSERT_EQ(::mkfifo((directory / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", directory / "zero");
    std::filesystem::create_directory(directory / "default.vert");
    std::string contents = "old";
    EXPECT_EQ(readRegularFile(directory / "pipe", 1024, contents), Tool::notRegularFileError());
    EXPECT_EQ(readRegularFile(directory / "zero", 1024, contents), Tool::notRegularFileError());
    EXPECT_EQ(readRegularFile(directory / "default.vert", 1024, contents),
              std::errc::is_a_directory);
    EXPECT_EQ(readRegularFile(directory / "missing", 1024, contents),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(contents, "old");
    EXPECT_EQ(Tool::notRegularFileError().message(), "not a regular file");
}

// Replacing went around a symbolic link (the link became a regular file) and reset
// the permissions to the umask's.
TEST_F(RegularFileTest, ReplacingWritesThroughLinksAndKeepsThePermissions) {
    namespace fs = std::filesystem;
    const fs::path target = write("target", "old");
    fs::permissions(target, fs::perms(0640));
    fs::create_directory(directory / "links");
    fs::create_symlink("../target", directory / "links/link");
    fs::create_symlink("link", directory / "links/chain");
    Tool::replaceRegularFile(directory / "links/chain", "new", "test file");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(directory / "links/chain")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(directory / "links/link")));
    std::string contents;
    EXPECT_FALSE(readRegularFile(target, 100, contents));
    EXPECT_EQ(contents, "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(directory / "links"), {}).size(), 2u)
        << "no temporary file is left beside the link";

    // A link to a file not yet there makes the file; a loop of links is an error.
    fs::create_symlink("made", directory / "dangling");
    Tool::replaceRegularFile(directory / "dangling", "made", "test file");
    EXPECT_FALSE(readRegularFile(directory / "made", 100, contents));
    EXPECT_EQ(contents, "made");
    fs::create_symlink("loop", directory / "loop");
    EXPECT_THROW(Tool::replaceRegularFile(directory / "loop", "x", "test file"),
                 fs::filesystem_error);
}

// A process killed between writing and renaming left its temporary file for ever.
TEST_F(RegularFileTest, LeftoverTemporaryFilesOfEndedProcessesAreRemoved) {
    namespace fs = std::filesystem;
    // A process number that is surely free: that of a child that has ended.
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string ended = std::to_string(child);
    const std::string own = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{
             ".save-" + ended + "-0.tmp", ".save-" + own + "-3.tmp", ".save-1-0.tmp",
             ".save-" + ended + "-x.tmp", ".save-" + ended + ".tmp", "save-" + ended + "-0.tmp",
             "Ann.profile"}) {
        write(name, "text");
    }
    fs::create_directory(directory / (".save-" + ended + "-1.tmp"));
    fs::create_symlink("Ann.profile", directory / (".save-" + ended + "-2.tmp"));

    std::vector<fs::path> removed = Tool::removeLeftoverTemporaryFiles(directory);
    std::vector<fs::path> expected = {directory / (".save-" + ended + "-0.tmp"),
                                      directory / (".save-" + own + "-3.tmp")};
    std::sort(removed.begin(), removed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(removed, expected);
    for (const fs::path& file : removed) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(file)));
    }
    // The running process's file, names not ours, a directory and a link stay.
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(directory), {}).size(), 7u);
    EXPECT_TRUE(Tool::removeLeftoverTemporaryFiles(directory / "missing").empty());
}
