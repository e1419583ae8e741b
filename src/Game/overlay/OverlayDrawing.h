#pragma once

#include "Data/Camera.h"
#include "Data/SGNode.h"
#include "Data/Shader.h"

namespace Render {
class RKernel;
}

namespace Game {

// The overlay's program: no lighting; the texel (white without a texture) times the
// material's ambient colour, alpha included, so that a dialog's colour tints its
// picture or text and its alpha makes it translucent.
Data::Shader makeOverlayProgram();

// Draws the nodes through the camera with the overlay program, blending on and depth
// testing off, in list order (later nodes cover earlier ones). Leaves the overlay
// program current and depth testing as it was.
void drawFlat(Render::RKernel& kernel, const Data::CameraPtr& camera,
              const Data::SGNodeList& nodes);

} // namespace Game
