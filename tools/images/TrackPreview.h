#pragma once

#include "common/Raster.h"

#include <string>

namespace Tools {

// The track preview of the launcher, 384 x 384: the Test Track seen from above (the
// painted ground lit by the sun, the lake, the road with its start line), the goal
// marked "Start" and each checkpoint as a numbered ring. North (+z) is up.
// `truetype` is the folder of the Liberation fonts.
Raster trackPreview(const std::string& truetype);

} // namespace Tools
