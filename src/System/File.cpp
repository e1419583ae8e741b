#include "System/File.h"

namespace System {

std::string File::workingDirectory;

void File::init(const std::string& programPath) {
    const auto separator = programPath.find_last_of("/\\");
    if (separator == std::string::npos) {
        workingDirectory = "./";
        return;
    }
    workingDirectory = programPath.substr(0, separator + 1) + "/";
}

void File::init(int argc, char** argv) { init(argc > 0 && argv[0] ? argv[0] : std::string()); }

std::string File::getPWD() { return workingDirectory; }

} // namespace System
