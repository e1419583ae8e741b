#pragma once

#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <string>

namespace Bench {

// Points the game's files at the benchmarks' data and opens the 1024 x 768 window
// that every drawing benchmark draws into; false without a display.
inline bool openWindow(Render::RKernel& kernel) {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/bench");
    return kernel.init(1024, 768, 24, 0, false) == 0;
}

} // namespace Bench
