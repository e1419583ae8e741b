#include "Game/views/ViewDrawing.h"

#include "Data/Camera.h"
#include "Game/overlay/OverlayDrawing.h"
#include "Render/rkernel/RKernel.h"

namespace Game {

Data::MaterialPtr flatMaterial(const glm::vec4& colour) {
    auto material = std::make_shared<Data::Material>();
    material->set(Data::MP_AMBIENT, colour);
    return material;
}

glm::vec2 screenSize(const Render::RKernel& kernel) {
    const Render::RTScreenPtr& screen = kernel.getScreen();
    return {static_cast<float>(screen->getWidth()), static_cast<float>(screen->getHeight())};
}

void drawOverScreen(Render::RKernel& kernel, const Data::SGNodeList& nodes) {
    // Orthographic, looking down -z from the origin, as the overlay's frame draws.
    static const Data::CameraPtr camera = std::make_shared<Data::Camera>(-1.0f, 1.0f, 45.0f, 1);
    drawFlat(kernel, camera, nodes);
}

} // namespace Game
