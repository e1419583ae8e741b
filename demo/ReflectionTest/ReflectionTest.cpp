#include "demo/ReflectionTest/ReflectionTest.h"

#include "Data/Object.h"
#include "Data/Shapes.h"
#include "Render/rkernel/RKernel.h"
#include "System/File.h"

#include <memory>

namespace Demo {
namespace {

constexpr float WATER_SIZE = 400.0f;
constexpr float FLOOR_DEPTH = -3.0f;

} // namespace

ReflectionTest::ReflectionTest(const DemoOptions& options)
    : DemoApplication(options), litProgram(Scenery::loadProgram("default")),
      reflectionProgram(Scenery::loadProgram("defaultReflections")),
      sun(Scenery::sunLight({0.3f, 0.35f, -0.9f}, {1.0f, 0.95f, 0.8f, 1.0f})),
      lit(std::make_shared<Data::SGNode>()), mirrors(std::make_shared<Data::SGNode>()),
      water(std::make_shared<Data::Object>(Scenery::groundMesh(WATER_SIZE, 8, 1.0f))) {
    water->setMaterial(Scenery::colourMaterial({1.0f, 1.0f, 1.0f, 0.8f}, {0.0f, 0.0f, 0.0f, 1.0f}));
    buildLitParts();
    buildMirrors();
    scene->addChild(lit);
    scene->addChild(mirrors);
    scene->addChild(water);

    cameraMovable = true;
    // Flying feels natural when the camera turns about its own axes, a few
    // degrees for a short move of the mouse.
    rotateLocally = true;
    mouseFactor = 0.15f;
    camera->setTransformation(Scenery::lookFrom({4.0f, 5.0f, 26.0f}, {-2.0f, 1.5f, 0.0f}));
    setInfoText("the game's water and mirrors\narrows, Page Up/Down: fly\n"
                "hold the left mouse button: look around");
}

void ReflectionTest::buildLitParts() {
    const Data::MaterialPtr sand =
        Scenery::colourMaterial({0.78f, 0.7f, 0.5f, 1.0f}, {0.5f, 0.45f, 0.3f, 1.0f});
    auto seaFloor = std::make_shared<Data::Object>(Scenery::groundMesh(WATER_SIZE, 8, 1.0f));
    seaFloor->setMaterial(sand);
    lit->addChild(Scenery::placed(seaFloor, {0.0f, FLOOR_DEPTH, 0.0f}));

    auto island = std::make_shared<Data::Object>(Data::makeSphere(14.0f, 48, 24));
    island->setMaterial(sand);
    island->scale({1.0f, 0.22f, 1.0f}, false);
    lit->addChild(Scenery::placed(island, {-24.0f, -1.2f, -28.0f}));
    if (Data::SGNodePtr house = System::File::loadMesh({"house.dae", "data\\objects\\house\\"})) {
        lit->addChild(Scenery::placed(house, {-24.0f, 1.7f, -28.0f}, 30.0f));
    }
}

void ReflectionTest::buildMirrors() {
    const Data::MaterialPtr chrome =
        Scenery::colourMaterial({0.95f, 0.95f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f});
    const Data::MaterialPtr gold =
        Scenery::colourMaterial({1.0f, 0.8f, 0.45f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f});
    const Data::MeshPtr sphere = Data::makeSphere(1.0f, 48, 24);
    const struct {
        glm::vec3 position;
        float radius;
        bool golden;
    } spheres[] = {{{-6.0f, 2.5f, 2.0f}, 2.5f, false},
                   {{0.5f, 0.6f, 5.0f}, 1.6f, true},
                   {{6.0f, 3.5f, -3.0f}, 3.0f, false},
                   {{-1.5f, 5.5f, -8.0f}, 2.0f, true}};
    for (const auto& s : spheres) {
        auto ball = std::make_shared<Data::Object>(sphere);
        ball->setMaterial(s.golden ? gold : chrome);
        ball->scale(glm::vec3(s.radius), false);
        mirrors->addChild(Scenery::placed(ball, s.position));
    }
    auto block = std::make_shared<Data::Object>(Data::makeTriangleBox(3.0f));
    block->setMaterial(chrome);
    block->yaw(35.0f, false);
    block->pitch(20.0f, false);
    mirrors->addChild(Scenery::placed(block, {10.0f, 1.0f, 6.0f}));
}

void ReflectionTest::drawScene() {
    Render::RKernel* kernel = Render::RKernel::current();
    Render::GLShaderMgmt& shaders = kernel->getShaderMgmt();
    sky.bindPictures();
    sky.draw();
    shaders.setLights({sun});
    shaders.setGlobalAmbient({0.3f, 0.3f, 0.32f, 1.0f});
    shaders.setCurrentProgram(litProgram);
    kernel->drawNode(lit);
    shaders.setCurrentProgram(reflectionProgram);
    kernel->drawNode(mirrors);
    kernel->drawNode(water);
}

} // namespace Demo
