#pragma once

#include "TrackGen/Raster.h"

#include <string>

namespace Tools {

using namespace TrackGen;

// The loading screen, 1024 x 768: the Test Track seen from beside the start
// straight (the land drawn column by column from the terrain model, the sky from
// the sky model) with the game's title over it and a darker band at the bottom
// for the status line. `truetype` is the folder of the Liberation fonts.
Raster loadingScreen(const std::string& truetype);

} // namespace Tools
