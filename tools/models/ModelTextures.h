#pragma once

#include "TrackGen/Raster.h"

#include <string>

namespace Tools {

using namespace TrackGen;

// Pictures used by the models' materials.
Raster crateTexture();
Raster plasterTexture();
Raster roofTileTexture();
Raster doorTexture();
// Horizontal bands of two colours, `bands` pairs from bottom to top; tiles.
Raster stripeTexture(const Colour& a, const Colour& b, int bands);
// The goal's chequered START / FINISH banner (goal = true) or the checkpoint's
// yellow and black CHECKPOINT banner; `fontFile` is a bold TrueType face.
Raster bannerTexture(bool goal, const std::string& fontFile);

} // namespace Tools
