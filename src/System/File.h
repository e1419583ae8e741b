#pragma once

#include "Tool/Export.h"

#include <string>

namespace System {

// File access of the game library. Every asset path is the working directory
// followed by the asset's relative directory and file name.
class File {
public:
    // Keeps the text up to and including the last '/' or '\' and appends one "/"
    // (the separator that asset paths expect after the working directory). A path
    // without any separator gives "./".
    BRUMBLY_API static void init(const std::string& programPath);
    BRUMBLY_API static void init(int argc, char** argv);
    BRUMBLY_API static std::string getPWD();

private:
    static std::string workingDirectory;
};

} // namespace System
