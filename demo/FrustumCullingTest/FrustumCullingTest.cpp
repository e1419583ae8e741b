#include "demo/FrustumCullingTest/FrustumCullingTest.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Platform/Keys.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace Demo {
namespace {

constexpr float SPACING = 5.0f;
constexpr float FLIGHT_RADIUS = 90.0f;
constexpr float FLIGHT_HEIGHT = 25.0f;
constexpr float FLIGHT_SPEED = 8.0f; // degrees of the circle per second
constexpr float PI = 3.14159265f;

// The crate of the game data; a plain box when it is missing.
Data::SGNodePtr loadCrate() {
    if (Data::SGNodePtr crate = System::File::loadMesh({"crate.dae", "data\\objects\\crate\\"}))
        return crate;
    auto box = std::make_shared<Data::Object>(Data::makeTriangleBox(2.0f));
    box->setMaterial(Scenery::colourMaterial({0.6f, 0.45f, 0.25f, 1.0f}, {0.4f, 0.3f, 0.2f, 1.0f}));
    return box;
}

} // namespace

FrustumCullingTest::FrustumCullingTest(const DemoOptions& options, bool culling)
    : DemoApplication(options), program(Scenery::loadProgram("default")),
      sun(Scenery::sunLight({-0.4f, 0.8f, 0.45f}, {1.0f, 0.95f, 0.85f, 1.0f})) {
    Render::RKernel::current()->setFrustumCulling(culling);
    showStatus("building the crate field...");

    const Data::SGNodePtr crate = loadCrate();
    const Data::BoundingBox box = crate->getBoundingBox();
    const float half = (GRID - 1) * SPACING / 2.0f;
    for (int row = 0; row < GRID; ++row)
        for (int column = 0; column < GRID; ++column) {
            Data::SGNodePtr copy =
                Scenery::placed(crate->deepCopy(),
                                {static_cast<float>(column) * SPACING - half, -box[1],
                                 half - static_cast<float>(row) * SPACING},
                                static_cast<float>((row * 7 + column * 13) % 90));
            scene->addChild(copy);
            crates.push_back(copy);
        }
    auto ground = std::make_shared<Data::Object>(Scenery::groundMesh(half * 2.0f + 40.0f, 4, 1.0f));
    ground->setMaterial(
        Scenery::colourMaterial({0.35f, 0.42f, 0.2f, 1.0f}, {0.25f, 0.3f, 0.15f, 1.0f}));
    scene->addChild(ground);
    animate(0.0);
}

bool FrustumCullingTest::animate(double dt) {
    if (!cameraMovable) {
        // Along the circle, looking ahead and down onto the field.
        flightAngle += static_cast<float>(dt) * FLIGHT_SPEED;
        const float a = flightAngle * PI / 180.0f;
        const glm::vec3 position(FLIGHT_RADIUS * std::cos(a), FLIGHT_HEIGHT,
                                 FLIGHT_RADIUS * std::sin(a));
        const glm::vec3 ahead(-std::sin(a), 0.0f, std::cos(a));
        camera->setTransformation(Scenery::lookFrom(
            position, position + ahead * 30.0f + glm::vec3(0.0f, -FLIGHT_HEIGHT, 0.0f)));
    }
    return true;
}

void FrustumCullingTest::drawScene() {
    Render::RKernel* kernel = Render::RKernel::current();
    sky.bindPictures();
    sky.draw();
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    shaders.setLights({sun});
    shaders.setGlobalAmbient({0.3f, 0.3f, 0.3f, 1.0f});
    shaders.setCurrentProgram(program);
    kernel->drawNode(scene);
    // The same test the traversal made, for the count on screen.
    drawnObjects = static_cast<std::size_t>(
        std::count_if(crates.begin(), crates.end(), [kernel](const Data::SGNodePtr& crate) {
            return kernel->isVisible(crate->getBoundingBox(), crate->getWorldTransformation());
        }));
    showInfo();
}

void FrustumCullingTest::showInfo() {
    std::ostringstream info;
    info << "frustum culling: " << (Render::RKernel::current()->getFrustumCulling() ? "on" : "off")
         << " (F7)\ncrates drawn: " << drawnObjects << " of " << crates.size() << "\nframe time: ";
    if (framesPerSecond > 0.0f)
        info << std::fixed << std::setprecision(2) << 1000.0f / framesPerSecond << " ms";
    else
        info << "-- ms";
    setInfoText(info.str());
}

bool FrustumCullingTest::onEvent(int type, int a, int b) {
    if (type == ET_KEY && a == Platform::KEY_F7 && b == 1) {
        Render::RKernel* kernel = Render::RKernel::current();
        kernel->setFrustumCulling(!kernel->getFrustumCulling());
        std::cout << "frustum culling " << (kernel->getFrustumCulling() ? "on" : "off") << "\n"
                  << std::flush;
    }
    return DemoApplication::onEvent(type, a, b);
}

} // namespace Demo
