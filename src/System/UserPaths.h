#pragma once

#include "Tool/Export.h"

#include <filesystem>
#include <functional>
#include <string>

namespace System {

// Where the game reads its data and where it keeps what it writes; one place decides,
// everything asks it. Run from its build folder (the game data beside the program) the
// game keeps profiles, high scores and the importer's log beside the program and
// config.ini and its own log in the current directory, as it always has. Installed (the
// data in "../share/brumbly" from the program), it follows the XDG base directories:
// profiles and high scores below $XDG_DATA_HOME/brumbly, config.ini in
// $XDG_CONFIG_HOME/brumbly and the logs in $XDG_STATE_HOME/brumbly.
struct BRUMBLY_API UserPaths {
    // Reads one environment variable; null when it is not set.
    using Environment = std::function<const char*(const char*)>;

    bool installed = false;
    // The folder holding data/ and shaders/ (the game library's working directory).
    std::filesystem::path dataDirectory;
    std::filesystem::path profilesDirectory;
    std::filesystem::path configFile;
    std::filesystem::path logFile;
    std::filesystem::path importerLogFile;

    // The paths for a program in programDirectory; environment defaults to the process's.
    static UserPaths locate(const std::filesystem::path& programDirectory,
                            const Environment& environment = {});

    // The paths everything asks for; until set, those located from the game library's
    // working directory.
    static const UserPaths& get();
    static void set(const UserPaths& paths);

    // Creates the folders the game writes to; the first failure's text, or "".
    std::string createFolders() const;
};

} // namespace System
