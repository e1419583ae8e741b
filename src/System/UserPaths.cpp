#include "System/UserPaths.h"

#include "System/File.h"

#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace System {

namespace {

namespace fs = std::filesystem;

const char* const gameFolder = "brumbly";

std::optional<UserPaths>& chosenPaths() {
    static std::optional<UserPaths> paths;
    return paths;
}

fs::path homeDirectory(const UserPaths::Environment& environment) {
    if (const char* home = environment("HOME"); home != nullptr && *home == '/') {
        return home;
    }
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? fs::path(user->pw_dir) : fs::path("/");
}

// An XDG base directory: the variable when it holds an absolute path (relative ones
// are to be ignored), else its default below the home folder.
fs::path baseDirectory(const UserPaths::Environment& environment, const char* variable,
                       const fs::path& fallback) {
    if (const char* value = environment(variable); value != nullptr && *value == '/') {
        return value;
    }
    return homeDirectory(environment) / fallback;
}

} // namespace

UserPaths UserPaths::locate(const fs::path& programDirectory, const Environment& environment) {
    const Environment read = environment ? environment : [](const char* name) -> const char* {
        return std::getenv(name);
    };
    UserPaths paths;
    const fs::path shared = programDirectory / ".." / "share" / gameFolder;
    std::error_code error;
    paths.installed =
        !fs::is_directory(programDirectory / "data", error) && fs::is_directory(shared, error);
    if (!paths.installed) {
        paths.dataDirectory = programDirectory;
        paths.profilesDirectory = programDirectory / "profiles";
        paths.configFile = "./config.ini";
        paths.logFile = "Brumbly.log";
        paths.importerLogFile = programDirectory / "Assimp.log";
        return paths;
    }
    paths.dataDirectory = shared.lexically_normal();
    paths.profilesDirectory =
        baseDirectory(read, "XDG_DATA_HOME", ".local/share") / gameFolder / "profiles";
    paths.configFile =
        baseDirectory(read, "XDG_CONFIG_HOME", ".config") / gameFolder / "config.ini";
    const fs::path state = baseDirectory(read, "XDG_STATE_HOME", ".local/state") / gameFolder;
    paths.logFile = state / "Brumbly.log";
    paths.importerLogFile = state / "Assimp.log";
    return paths;
}

const UserPaths& UserPaths::get() {
    if (!chosenPaths()) {
        // Demos and tools never choose: they run from the build folder.
        static UserPaths buildFolder;
        buildFolder = locate(File::getPWD());
        return buildFolder;
    }
    return *chosenPaths();
}

void UserPaths::set(const UserPaths& paths) {
    chosenPaths() = paths;
}

std::string UserPaths::createFolders() const {
    for (const fs::path& folder : {profilesDirectory, configFile.parent_path(),
                                   logFile.parent_path(), importerLogFile.parent_path()}) {
        std::error_code error;
        if (!folder.empty()) {
            fs::create_directories(folder, error);
        }
        if (error) {
            return folder.string() + ": " + error.message();
        }
    }
    return {};
}

} // namespace System
