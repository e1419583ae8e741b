#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace EndToEnd {

// Runs a shell command line of X tools (xdotool, xwd, netpbm). They run without the
// libraries preloaded for the tests: a sanitizer's runtime would report the tools'
// own leaks and fail them.
inline int runTool(const std::string& command) {
    return std::system(("unset LD_PRELOAD; " + command).c_str());
}

// The same, returning what the command line printed.
inline std::string toolOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(("unset LD_PRELOAD; " + command).c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
            text += buffer;
        }
        pclose(pipe);
    }
    return text;
}

} // namespace EndToEnd
