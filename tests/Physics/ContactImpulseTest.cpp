#include "Physics/ContactImpulse.h"
#include "Physics/BoxShape.h"

#include "PhysicsFixtures.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace Physics;
using namespace PhysicsFixtures;

namespace {

constexpr float ground = 2.0f;
constexpr float boxMass = 2.0f;

Actor* dropBox(Scene& scene, float x, float height) {
    BoxShapeDesc box;
    box.dimensions = Vec3(0.5f);
    BodyDesc body;
    body.mass = boxMass;
    ActorDesc desc;
    desc.body = &body;
    desc.shapes.push_back(&box);
    desc.globalPose.t = Vec3(x, ground + 0.5f + height, 100.0f);
    return scene.createActor(desc);
}

} // namespace

TEST(ContactImpulseTest, ReportsTheHardestHitOfEachActorSinceTheLastFetch) {
    RecordingStream stream;
    SdkPtr sdk(createPhysicsSDK(SDK_VERSION, &stream));
    Scene* scene = createGameScene(*sdk);
    Actor* terrain = createTerrain(*scene, flat(ground));
    Actor* low = dropBox(*scene, 60.0f, 1.0f);
    Actor* high = dropBox(*scene, 120.0f, 4.0f);

    float lowHit = 0.0f, highHit = 0.0f;
    run(*scene, 0.3f, [&] { lowHit = std::max(lowHit, fetchContactImpulse(*low)); });
    EXPECT_EQ(lowHit, 0.0f) << "nothing touched in the air";
    run(*scene, 1.2f, [&] {
        lowHit = std::max(lowHit, fetchContactImpulse(*low));
        highHit = std::max(highHit, fetchContactImpulse(*high));
    });
    // The boxes land at sqrt(2 g h) and stop: the ground takes their momentum.
    const float lowMomentum = boxMass * std::sqrt(2.0f * 9.81f * 1.0f);
    const float highMomentum = boxMass * std::sqrt(2.0f * 9.81f * 4.0f);
    EXPECT_GT(lowHit, 0.5f * lowMomentum);
    EXPECT_LT(lowHit, 1.2f * lowMomentum);
    EXPECT_GT(highHit, 0.5f * highMomentum);
    EXPECT_LT(highHit, 1.2f * highMomentum);
    EXPECT_GT(highHit, 1.5f * lowHit) << "a harder landing is a harder hit";
    EXPECT_GE(fetchContactImpulse(*terrain), highHit) << "the ground took the hardest hit";

    // At rest the ground carries the box's weight: one sub-step of it per frame.
    run(*scene, 1.0f / 60.0f);
    EXPECT_NEAR(fetchContactImpulse(*low), boxMass * 9.81f / 60.0f, 0.05f);
    EXPECT_EQ(fetchContactImpulse(*low), 0.0f) << "each fetch starts anew";
    EXPECT_TRUE(stream.errors.empty());
}
