#pragma once

#include <string>

namespace System {

// Names an asset: the file (also its display name in the log) and its directory
// relative to the working directory, ending in a separator ("data\\images\\").
struct AssetRef {
    std::string file;
    std::string directory;
};

} // namespace System
