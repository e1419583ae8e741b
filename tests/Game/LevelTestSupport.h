#pragma once

#include "Game/InputListeners.h"
#include "Game/level/Level.h"
#include "Physics/Actor.h"
#include "Physics/PhysicsSDK.h"
#include "Physics/Scene.h"
#include "System/File.h"
#include "tests/Render/RenderTestSupport.h"

#include <memory>
#include <string>

namespace GameTest {

// The generated data lies beside the programs: data/ and shaders/ in the bin folder.
inline void useBinFolder() {
    System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test");
}

struct SdkRelease {
    void operator()(Physics::PhysicsSDK* sdk) const { sdk->release(); }
};
using SdkPtr = std::unique_ptr<Physics::PhysicsSDK, SdkRelease>;

inline SdkPtr createSdk() {
    SdkPtr sdk(Physics::createPhysicsSDK(Physics::SDK_VERSION, nullptr));
    sdk->setParameter(Physics::P_SKIN_WIDTH, 0.005f);
    return sdk;
}

// The input that the test levels' cameras and cars listen to, as the kernel's
// input is for the game's level.
inline Game::InputListeners& testInput() {
    static Game::InputListeners input;
    return input;
}

// A free box of the given half extents and mass at `position`, moving at `velocity`.
inline Physics::Actor* addBox(Physics::Scene& scene, const glm::vec3& position,
                              const glm::vec3& halfExtents, float mass,
                              const glm::vec3& velocity = glm::vec3(0.0f)) {
    Physics::BoxShapeDesc box;
    box.dimensions = halfExtents;
    Physics::BodyDesc body;
    body.mass = mass;
    body.linearVelocity = velocity;
    Physics::ActorDesc desc;
    desc.body = &body;
    desc.shapes.push_back(&box);
    desc.globalPose.t = position;
    return scene.createActor(desc);
}

// A window of the game's shape, the game data and the fonts the level labels with;
// each test builds its own level on its own physics SDK.
class LevelTest : public RenderTest::GLTest {
public:
    static constexpr int WIDTH = 512;
    static constexpr int HEIGHT = 384;

    static void SetUpTestSuite() {
        startKernel(WIDTH, HEIGHT);
        useBinFolder();
        System::File::loadFont({"Newsflash", "data\\images\\Fonts\\"});
    }

protected:
    void TearDown() override {
        level.reset();
        sdk.reset();
        RenderTest::GLTest::TearDown();
    }

    Game::Level& buildTestTrack(unsigned laps = 3, std::int32_t detail = Data::DETAIL_HIGH) {
        level.reset();
        sdk = createSdk();
        level = std::make_unique<Game::Level>(sdk.get(), detail, kernel, &testInput());
        EXPECT_TRUE(level->buildTestTrack(laps));
        return *level;
    }

    // Runs the level for `seconds` at 60 frames a second.
    void run(double seconds) {
        for (int frame = 0; frame < static_cast<int>(seconds * 60.0); ++frame) {
            level->update(1.0 / 60.0);
        }
    }

    // Draws one frame of the level through its own passes and captures it.
    fipImage drawFrame() {
        level->renderShadows();
        kernel->setRenderTarget(kernel->getScreen());
        level->draw();
        return capture();
    }

    SdkPtr sdk;
    std::unique_ptr<Game::Level> level;
};

} // namespace GameTest
