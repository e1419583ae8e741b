#pragma once

#include "Data/Material.h"
#include "Data/SGNode.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

namespace Render {
class RKernel;
}

namespace Game {

// A rectangle of the window in pixels, from its lower-left corner, as OpenGL's
// viewport counts: one view of the screen, or a part of one.
struct PixelRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// A pixel of a screen `screen` pixels large in the units the overlay draws in:
// x from -aspect to aspect, y from -1 to 1, as the overlay's orthographic camera shows.
inline glm::vec2 pixelToOverlay(const glm::vec2& pixel, const glm::vec2& screen) {
    return {(2.0f * pixel.x - screen.x) / screen.y, 2.0f * pixel.y / screen.y - 1.0f};
}

// The same as a transform, for drawables placed in pixels.
inline glm::mat4 overlayFromPixels(const glm::vec2& screen) {
    const glm::mat4 moved =
        glm::translate(glm::mat4(1.0f), glm::vec3(-screen.x / screen.y, -1.0f, 0.0f));
    return glm::scale(moved, glm::vec3(2.0f / screen.y, 2.0f / screen.y, 1.0f));
}

// A material that the overlay draws in one colour (red, green, blue, alpha 0..1).
Data::MaterialPtr flatMaterial(const glm::vec4& colour);

// The size of the render kernel's screen in pixels; a minimised window's has no area.
glm::vec2 screenSize(const Render::RKernel& kernel);

// Draws nodes placed in overlay units (see pixelToOverlay) over the whole screen, as
// the overlay draws its dialogs.
void drawOverScreen(Render::RKernel& kernel, const Data::SGNodeList& nodes);

} // namespace Game
