#include "System/UserPaths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using System::UserPaths;

namespace {

// A program folder laid out as a build folder (data beside the program) or as an
// installation (bin/ beside share/brumbly/), below a scratch folder of its own.
class UserPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("brumbly-paths-" + std::to_string(::getpid()));
        fs::remove_all(root);
    }
    void TearDown() override { fs::remove_all(root); }

    UserPaths locate(const fs::path& program) const {
        return UserPaths::locate(program, [this](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        });
    }

    fs::path root;
    std::map<std::string, std::string> environment;
};

} // namespace

TEST_F(UserPathsTest, BuildFolderKeepsEverythingBesideTheProgramAndInstalledFollowsXdg) {
    const fs::path build = root / "build" / "bin";
    fs::create_directories(build / "data");
    environment = {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/xdg/data"}};
    const UserPaths beside = locate(build);
    EXPECT_FALSE(beside.installed);
    EXPECT_EQ(beside.dataDirectory, build);
    EXPECT_EQ(beside.profilesDirectory, build / "profiles");
    EXPECT_EQ(beside.configFile, "./config.ini");
    EXPECT_EQ(beside.logFile, "Brumbly.log");
    EXPECT_EQ(beside.importerLogFile, build / "Assimp.log");

    const fs::path bin = root / "usr" / "bin";
    fs::create_directories(bin);
    fs::create_directories(root / "usr" / "share" / "brumbly" / "data");
    // XDG_CONFIG_HOME is relative, which the XDG rules say to ignore.
    environment["XDG_CONFIG_HOME"] = "relative/config";
    const UserPaths installed = locate(bin);
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.dataDirectory, root / "usr" / "share" / "brumbly");
    EXPECT_EQ(installed.profilesDirectory, "/xdg/data/brumbly/profiles");
    EXPECT_EQ(installed.configFile, "/home/ann/.config/brumbly/config.ini");
    EXPECT_EQ(installed.logFile, "/home/ann/.local/state/brumbly/Brumbly.log");
    EXPECT_EQ(installed.importerLogFile, "/home/ann/.local/state/brumbly/Assimp.log");

    // The folders are made on demand, below a home that did not exist.
    environment = {{"HOME", (root / "home").string()}};
    const UserPaths fresh = locate(bin);
    EXPECT_EQ(fresh.createFolders(), "");
    EXPECT_TRUE(fs::is_directory(root / "home/.local/share/brumbly/profiles"));
    EXPECT_TRUE(fs::is_directory(root / "home/.config/brumbly"));
    EXPECT_TRUE(fs::is_directory(root / "home/.local/state/brumbly"));

    // A folder that cannot be made is named in the failure.
    environment = {{"HOME", (root / "home").string()},
                   {"XDG_STATE_HOME", (root / "home/.config/brumbly/config.ini").string()}};
    std::ofstream(root / "home/.config/brumbly/config.ini") << "[VideoOptions]\n";
    EXPECT_NE(locate(bin).createFolders().find("config.ini"), std::string::npos);
}
