#include "Tool/RegularFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
