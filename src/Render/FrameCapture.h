#pragma once

#include "Tool/Export.h"

#include <FreeImagePlus.h>
#include <string>

namespace Render {

// Reads the window's current back buffer (what the screen target drew since its
// begin(), before its end() presents it) into a 24-bit image of the screen target's
// size. False when nothing could be read (no window).
BRUMBLY_API bool captureFrame(fipImage& image);
// Captures the frame and writes it as a PNG file.
BRUMBLY_API bool saveFrame(const std::string& path);

} // namespace Render
