#include "demo/SplashScreen.h"

#include "Data/Image.h"
#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Data/TextDrawable.h"
#include "Render/BuiltinShaders.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <cmath>
#include <memory>

namespace Demo {
namespace {

// The picture is 2 units high; at this distance it spans the camera's view from
// top to bottom.
const float PICTURE_DISTANCE = 1.0f / std::tan(22.5f * 0.017453293f);
constexpr float STATUS_SCALE = 0.2f;
constexpr float STATUS_HEIGHT = -0.6f;

} // namespace

SplashScreen::SplashScreen(const std::string& imageFile)
    : camera(std::make_shared<Data::Camera>(1.0f, 1000.0f, 45.0f, 0)) {
    const Data::ImagePtr image = System::File::loadImage({imageFile, "data\\images\\"});
    const float aspect = image->isValid() ? static_cast<float>(image->getWidth()) /
                                                static_cast<float>(image->getHeight())
                                          : 4.0f / 3.0f;
    picture = std::make_shared<Data::Object>(
        Data::makeQuad(2.0f * aspect, 2.0f, 1.0f, 1.0f, 0.0f, 0.0f, image));
    picture->moveForward(PICTURE_DISTANCE, true);
}

void SplashScreen::setStatus(const std::string& text) {
    status = Data::makeText(text, STATUS_SCALE, Data::TA_CENTER);
    status->moveForward(PICTURE_DISTANCE - 0.01f, false);
    status->moveUp(STATUS_HEIGHT, false);

    Render::RKernel* kernel = Render::RKernel::current();
    kernel->getShaderMgmt().setCurrentProgram(Render::makeSimpleTextureProgram());
    kernel->setRenderTarget(kernel->getScreen());
    kernel->setCamera(camera);
    // The picture first: the glyphs' transparent corners must not hide it.
    kernel->drawNode(picture);
    kernel->drawNode(status);
    kernel->getRenderTarget()->end();
}

} // namespace Demo
