#include "Data/ProfileManager.h"

#include "ProfileTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Data;
using namespace ProfileTestSupport;

namespace {

// Writes a profile file named `file` that holds the profile `name`.
void writeProfile(const std::filesystem::path& file, const std::string& name,
                  unsigned int nation = 0) {
    Profile profile(name, file.parent_path(), ".profile");
    profile.nationality.set(nation);
    std::filesystem::create_directories(file.parent_path());
    profile.saveToFile(file);
}

std::vector<std::string> names(const ProfileManager& manager) {
    std::vector<std::string> result;
    for (const auto& [name, profile] : manager.getResources()) {
        result.push_back(name);
    }
    return result;
}

class ProfileManagerTest : public ::testing::Test {
protected:
    void SetUp() override { manager.releaseAll(); }
    void TearDown() override { manager.releaseAll(); }

    ProfileManager& manager = ProfileManager::getInstance();
    TemporaryDirectory directory;
    ErrorRecorder log;
};

} // namespace

TEST_F(ProfileManagerTest, IsOneNamedInstance) {
    EXPECT_EQ(&manager, &ProfileManager::getInstance());
    EXPECT_EQ(manager.getName(), "ProfileManager");
    EXPECT_EQ(manager.getExtension(), ".profile");
}

TEST_F(ProfileManagerTest, MissingDirectoryLeavesTheManagerEmpty) {
    const std::filesystem::path missing = directory.path() / "profiles";
    manager.loadFromDirectory(missing);
    EXPECT_EQ(manager.getCount(), 0u);
    EXPECT_EQ(manager.getDirectory(), missing.generic_string());
    writeFile(directory.path() / "plain.profile", "not a directory");
    manager.loadFromDirectory(directory.path() / "plain.profile");
    EXPECT_EQ(manager.getCount(), 0u);
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(ProfileManagerTest, ScanLoadsEveryPathContainingTheExtension) {
    const std::filesystem::path root = directory.path() / "profiles";
    writeProfile(root / "a.profile", "Anna");
    writeProfile(root / "b.profile.bak", "Bert");
    writeProfile(root / "profile.txt", "Carl");
    writeProfile(root / "sub" / "d.profile", "Dora");
    writeProfile(root / "x.profiles" / "e.txt", "Emil");
    manager.loadFromDirectory(root);

    EXPECT_EQ(names(manager), (std::vector<std::string>{"Anna", "Bert", "Dora", "Emil"}));
    EXPECT_EQ(manager.find("Anna")->getPath(), root.generic_string());
    EXPECT_EQ(manager.find("Dora")->getPath(), (root / "sub").generic_string());
    EXPECT_EQ(manager.find("Emil")->getExtension(), ".profile");
    // The last directory visited (in name order) becomes the manager's directory,
    // where new profiles are created.
    EXPECT_EQ(manager.getDirectory(), (root / "x.profiles").generic_string());
    EXPECT_EQ(manager.getOrCreate("New")->getPath(), (root / "x.profiles").generic_string());
    EXPECT_TRUE(log.errors.empty());
}

TEST_F(ProfileManagerTest, FirstFileReadForANameWins) {
    writeProfile(directory.path() / "1.profile", "Same", 5);
    writeProfile(directory.path() / "2.profile", "Same", 7);
    writeProfile(directory.path() / "0" / "3.profile", "Same", 9);
    manager.loadFromDirectory(directory.path());
    ASSERT_EQ(manager.getCount(), 1u);
    EXPECT_EQ(manager.find("Same")->nationality.getNationIndex(), 9u);
}

TEST_F(ProfileManagerTest, SymbolicLinksToDirectoriesAreNotFollowed) {
    const std::filesystem::path root = directory.path() / "profiles";
    writeProfile(directory.path() / "elsewhere" / "f.profile", "Far");
    writeProfile(root / "a.profile", "Anna");
    std::filesystem::create_directory_symlink(directory.path() / "elsewhere", root / "link");
    std::filesystem::create_directory_symlink(root, root / "loop");
    manager.loadFromDirectory(root);
    EXPECT_EQ(names(manager), std::vector<std::string>{"Anna"});
    EXPECT_EQ(manager.getDirectory(), root.generic_string());
}

TEST_F(ProfileManagerTest, BrokenFilesAreSkippedAndLogged) {
    writeProfile(directory.path() / "a.profile", "Anna");
    writeFile(directory.path() / "b.profile", "garbage");
    std::filesystem::create_symlink(directory.path() / "missing", directory.path() / "c.profile");
    writeProfile(directory.path() / "d.profile", "Dora");
    writeProfile(directory.path() / "e.profile", "../Escape");
    manager.loadFromDirectory(directory.path());

    EXPECT_EQ(names(manager), (std::vector<std::string>{"Anna", "Dora"}));
    ASSERT_EQ(log.errors.size(), 3u);
    for (const auto& [error, file] : {std::pair{log.errors[0], std::string("b.profile")},
                                      std::pair{log.errors[1], std::string("c.profile")},
                                      std::pair{log.errors[2], std::string("e.profile")}}) {
        EXPECT_EQ(error.getAuthor(), "ProfileManager");
        EXPECT_NE(error.getMessage().find((directory.path() / file).string()), std::string::npos)
            << error.getMessage();
    }
    EXPECT_NE(log.errors[1].getMessage().find("No such file"), std::string::npos)
        << log.errors[1].getMessage();
}

// A named pipe once stopped the scan for good (a read waits for a writer) and a link
// to a device filled the memory; neither is opened now, and neither is a file far
// larger than any profile. A name far too long to be a file name is logged as an
// excerpt.
TEST_F(ProfileManagerTest, OnlyRegularFilesOfProfileSizeAreRead) {
    writeProfile(directory.path() / "a.profile", "Anna");
    ASSERT_EQ(::mkfifo((directory.path() / "x.profile").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", directory.path() / "zero.profile");
    writeFile(directory.path() / "big.profile", std::string(1024 * 1024 + 1, ' '));
    writeProfile(directory.path() / "long.profile", std::string(500 * 1024, 'n'));
    manager.loadFromDirectory(directory.path());

    EXPECT_EQ(names(manager), std::vector<std::string>{"Anna"});
    ASSERT_EQ(log.errors.size(), 4u);
    EXPECT_NE(log.errors[0].getMessage().find("big.profile"), std::string::npos);
    EXPECT_NE(log.errors[0].getMessage().find("File too large"), std::string::npos);
    EXPECT_NE(log.errors[1].getMessage().find("long.profile"), std::string::npos);
    EXPECT_LT(log.errors[1].getMessage().size(), 4096u);
    for (const auto& error : {log.errors[2], log.errors[3]}) {
        EXPECT_NE(error.getMessage().find("not a regular file"), std::string::npos)
            << error.getMessage();
    }
}

// A directory nested deeper than the longest path the system accepts cannot be
// opened, whoever runs the test.
TEST_F(ProfileManagerTest, UnreadableSubdirectoryIsSkippedAndLogged) {
    writeProfile(directory.path() / "a.profile", "Anna");
    writeProfile(directory.path() / "z.profile", "Zeno");
    const std::string level(250, 'd');
    std::vector<int> descriptors{::open(directory.path().c_str(), O_RDONLY | O_DIRECTORY)};
    for (int depth = 0; depth < 20; ++depth) {
        ASSERT_EQ(::mkdirat(descriptors.back(), level.c_str(), 0700), 0);
        descriptors.push_back(::openat(descriptors.back(), level.c_str(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(descriptors.back(), 0);
    }

    manager.loadFromDirectory(directory.path());
    EXPECT_EQ(names(manager), (std::vector<std::string>{"Anna", "Zeno"}));
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_EQ(log.errors[0].getAuthor(), "ProfileManager");
    EXPECT_NE(log.errors[0].getMessage().find(level + "/" + level), std::string::npos);

    ::close(descriptors.back());
    descriptors.pop_back();
    for (; !descriptors.empty(); descriptors.pop_back()) {
        EXPECT_EQ(::unlinkat(descriptors.back(), level.c_str(), AT_REMOVEDIR), 0);
        ::close(descriptors.back());
    }
}

TEST_F(ProfileManagerTest, NamesAreExactKeys) {
    manager.loadFromDirectory(directory.path());
    const auto ann = manager.getOrCreate("Ann");
    EXPECT_EQ(ann->getPath(), directory.path().generic_string());
    EXPECT_EQ(manager.getOrCreate("Ann"), ann);
    EXPECT_TRUE(manager.exists("Ann"));
    EXPECT_FALSE(manager.exists("ann"));
    EXPECT_EQ(manager.find("ann"), nullptr);
    manager.getOrCreate("ann");
    manager.getOrCreate("Bob");
    EXPECT_EQ(names(manager), (std::vector<std::string>{"Ann", "Bob", "ann"}));
    EXPECT_EQ(manager.getCount(), 3u);
    EXPECT_TRUE(directory.entries().empty());
}

TEST_F(ProfileManagerTest, RemoveWithAndWithoutTheFile) {
    manager.loadFromDirectory(directory.path());
    manager.getOrCreate("Kept")->save();
    const auto held = manager.getOrCreate("Gone");
    held->save();
    manager.remove("Kept", false);
    manager.remove("Gone", true);
    manager.remove("Unknown", true);
    EXPECT_EQ(manager.getCount(), 0u);
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"Kept.profile"});
    EXPECT_EQ(held->getName(), "Gone");

    manager.loadFromDirectory(directory.path());
    EXPECT_EQ(names(manager), std::vector<std::string>{"Kept"});
    manager.releaseAll();
    EXPECT_EQ(manager.getCount(), 0u);
}
