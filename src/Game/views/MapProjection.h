#pragma once

#include "Game/views/ViewDrawing.h"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>

namespace Game {

// Maps the level's ground (x, z) onto a map in a rectangle of pixels, seen from
// above as the overview camera looks: +x to the right, -z up. The whole terrain
// (0..size on both axes) fits the rectangle, centred, keeping its proportions.
class MapProjection {
public:
    MapProjection(const glm::vec2& levelSize, const PixelRect& area);

    // The pixel of a ground position; positions beyond the terrain land on its edge.
    glm::vec2 toMap(const glm::vec2& ground) const;
    // The transform from map-plane coordinates (x, -z, 0) to pixels.
    glm::mat4 planeToPixels() const;

private:
    glm::vec2 levelSize;
    float scale = 0.0f; // pixels per metre
    PixelRect covered;  // by the terrain
};

} // namespace Game
