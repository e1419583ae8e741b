#include "Game/overlay/LoadingScreen.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Data/TextDrawable.h"
#include "Game/overlay/OverlayDrawing.h"
#include "Platform/Window.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

constexpr float FIELD_OF_VIEW = 45.0f;
constexpr float STATUS_SCALE = 0.1f;
constexpr float STATUS_CORNER = -0.8f;

// How far in front of the camera its view is two units high: the picture and the
// status lie in that plane, where device units are plane units (x times the aspect).
float pictureDistance() {
    return 1.0f / std::tan(FIELD_OF_VIEW / 2.0f * 0.017453293f);
}

} // namespace

LoadingScreen::LoadingScreen(Render::RKernel* renderer, const std::string& imageFile,
                             const std::string& fontName, Clock::duration frameGap)
    : renderer(renderer), frameGap(frameGap), fontName(fontName),
      image(System::File::loadImage(pictureOf(imageFile))),
      camera(std::make_shared<Data::Camera>(1.0f, 1000.0f, FIELD_OF_VIEW, 0)) {
    // It fills the screen: mipmaps would cost time at the start and never be drawn.
    image->mipmapped = false;
    // Without its picture the screen stays cleared, so that the status can be read.
    if (image->isValid()) {
        picture = std::make_shared<Data::Object>(
            Data::makeQuad(1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, image));
    }
}

System::AssetRef LoadingScreen::pictureOf(const std::string& imageFile) {
    return {imageFile, "data\\images\\"};
}

float LoadingScreen::screenAspect() const {
    if (renderer == nullptr || !Platform::isWindowOpen()) {
        return 1.0f;
    }
    const Render::RTScreenPtr& screen = renderer->getScreen();
    return screen->getHeight() > 0
               ? static_cast<float>(screen->getWidth()) / static_cast<float>(screen->getHeight())
               : 1.0f;
}

void LoadingScreen::setStatus(const std::string& text) {
    status = text;
    const float aspect = screenAspect();
    const float distance = pictureDistance();
    if (picture) {
        picture->setTransformation(
            glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -distance)),
                       glm::vec3(2.0f * aspect, 2.0f, 1.0f)));
    }
    statusText = std::make_shared<Data::SGNode>();
    statusText->setTransformation(glm::translate(
        glm::mat4(1.0f), glm::vec3(STATUS_CORNER * aspect, STATUS_CORNER, -distance)));
    statusText->addChild(Data::makeText(text, "Newsflash", STATUS_SCALE, Data::TA_LEFT));

    if (renderer == nullptr || !Platform::isWindowOpen()) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (lastFrame && now - *lastFrame < frameGap) {
        return;
    }
    lastFrame = now;
    renderer->setRenderTarget(renderer->getScreen());
    drawFlat(*renderer, camera, {picture, statusText});
    renderer->getScreen()->end();
}

} // namespace Game
