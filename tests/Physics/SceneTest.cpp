#include "Physics/Scene.h"
#include "Physics/BoxShape.h"
#include "Physics/HeightFieldShape.h"
#include "Physics/PhysicsSDK.h"

#include "PhysicsFixtures.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Physics;
using namespace PhysicsFixtures;

namespace {

class SceneTest : public ::testing::Test {
protected:
    SceneTest() : sdk(createPhysicsSDK(SDK_VERSION, &stream)), scene(createGameScene(*sdk)) {}

    Actor* createBox(const Vec3& position, const Vec3& halfExtents, float mass,
                     MaterialIndex material = 0, const Mat33& orientation = Mat33(1.0f)) {
        BoxShapeDesc box;
        box.dimensions = halfExtents;
        box.materialIndex = material;
        BodyDesc body;
        body.mass = mass;
        ActorDesc desc;
        desc.body = &body;
        desc.shapes.push_back(&box);
        desc.globalPose.t = position;
        desc.globalPose.M = orientation;
        return scene->createActor(desc);
    }

    std::uint32_t subStepsOf(float elapsed) {
        scene->simulate(elapsed);
        scene->fetchResults(RIGID_BODY_FINISHED, true);
        float timestep;
        std::uint32_t iterations;
        TimeStepMethod method;
        std::uint32_t steps = 0;
        scene->getTiming(timestep, iterations, method, &steps);
        return steps;
    }

    RecordingStream stream;
    SdkPtr sdk;
    Scene* scene;
};

} // namespace

TEST_F(SceneTest, SimulatesInFixedSubStepsOfASixtiethAtMostEightPerCall) {
    Actor* falling = createBox(Vec3(0, 100, 0), Vec3(0.5f), 1.0f);
    EXPECT_EQ(subStepsOf(1.0f / 30.0f), 2u);
    EXPECT_NEAR(falling->getLinearVelocity().y, -9.81f * 2.0f / 60.0f, 1e-4f);

    EXPECT_EQ(subStepsOf(1.0f), 8u);
    EXPECT_NEAR(falling->getLinearVelocity().y, -9.81f * 10.0f / 60.0f, 1e-3f);

    // A part of a sub-step is carried over to the next call.
    EXPECT_EQ(subStepsOf(1.0f / 120.0f), 0u);
    EXPECT_EQ(subStepsOf(1.0f / 120.0f), 1u);
    EXPECT_TRUE(stream.errors.empty());
}

TEST_F(SceneTest, SimulateTwiceWithoutFetchingIsReported) {
    scene->simulate(1.0f / 60.0f);
    EXPECT_TRUE(scene->checkResults(RIGID_BODY_FINISHED));
    scene->simulate(1.0f / 60.0f);
    ASSERT_EQ(stream.errors.size(), 1u);
    EXPECT_EQ(stream.errors[0].first, E_INVALID_OPERATION);
    EXPECT_TRUE(scene->fetchResults(RIGID_BODY_FINISHED, true));
    EXPECT_FALSE(scene->fetchResults(RIGID_BODY_FINISHED, true));
    for (const float bad :
         {-1.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        scene->simulate(bad);
        EXPECT_FALSE(scene->fetchResults(RIGID_BODY_FINISHED, true));
    }
    EXPECT_EQ(stream.errors.size(), 4u);
    EXPECT_EQ(stream.errors.back().first, E_INVALID_PARAMETER);
    // The scene still steps normally afterwards.
    EXPECT_EQ(subStepsOf(1.0f / 60.0f), 1u);
}

TEST_F(SceneTest, MaterialsGetIndicesAndTheDefaultStays) {
    Material* standard = scene->getMaterialFromIndex(0);
    ASSERT_NE(standard, nullptr);
    EXPECT_FLOAT_EQ(standard->getStaticFriction(), 0.5f);

    MaterialDesc desc;
    desc.restitution = 0.3f;
    Material* first = scene->createMaterial(desc);
    Material* second = scene->createMaterial(desc);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->getMaterialIndex(), 1);
    EXPECT_EQ(second->getMaterialIndex(), 2);
    MaterialDesc saved;
    second->saveToDesc(saved);
    EXPECT_FLOAT_EQ(saved.restitution, 0.3f);

    scene->releaseMaterial(*first);
    EXPECT_EQ(scene->getMaterialFromIndex(1), nullptr);
    EXPECT_EQ(scene->createMaterial(desc)->getMaterialIndex(), 1);

    scene->releaseMaterial(*standard);
    EXPECT_NE(scene->getMaterialFromIndex(0), nullptr);
    desc.restitution = 2.0f;
    EXPECT_EQ(scene->createMaterial(desc), nullptr);
    EXPECT_EQ(stream.errors.size(), 2u);
}

TEST(MaterialTest, CombinesWithTheHigherModeAndHonoursDisableFriction) {
    SdkPtr sdk(createPhysicsSDK(SDK_VERSION, nullptr));
    Scene* scene = sdk->createScene(SceneDesc());
    MaterialDesc desc;
    desc.dynamicFriction = 0.2f;
    desc.restitution = 0.4f;
    Material a(*scene, 1, desc);
    desc.dynamicFriction = 0.6f;
    desc.restitution = 0.8f;
    desc.frictionCombineMode = CM_MAX;
    desc.restitutionCombineMode = CM_MULTIPLY;
    Material b(*scene, 2, desc);
    EXPECT_FLOAT_EQ(Material::combinedFriction(a, b), 0.6f);
    EXPECT_FLOAT_EQ(Material::combinedRestitution(a, b), 0.32f);
    b.setFrictionCombineMode(CM_MIN);
    EXPECT_FLOAT_EQ(Material::combinedFriction(a, b), 0.2f);
    b.setFrictionCombineMode(CM_AVERAGE);
    EXPECT_FLOAT_EQ(Material::combinedFriction(a, b), 0.4f);
    a.setFlags(MF_DISABLE_FRICTION);
    EXPECT_FLOAT_EQ(Material::combinedFriction(a, b), 0.0f);
}

TEST_F(SceneTest, ActorDescriptionsAreValidatedBeforeCreation) {
    BoxShapeDesc box;
    box.dimensions = Vec3(1.0f);
    BodyDesc body;
    ActorDesc desc;
    EXPECT_FALSE(desc.isValid()); // static without shapes
    desc.shapes.push_back(&box);
    EXPECT_TRUE(desc.isValid());

    desc.body = &body;
    EXPECT_FALSE(desc.isValid()); // neither mass nor density
    body.mass = 2.0f;
    EXPECT_TRUE(desc.isValid());
    desc.density = 1.0f;
    EXPECT_FALSE(desc.isValid()); // both
    desc.density = 0.0f;

    HeightFieldShapeDesc field; // no height field given
    desc.shapes.push_back(&field);
    EXPECT_FALSE(desc.isValid());
    desc.shapes.pop_back();

    WheelShapeDesc wheel;
    desc.shapes.push_back(&wheel);
    EXPECT_TRUE(desc.isValid());
    desc.body = nullptr;
    EXPECT_FALSE(desc.isValid()); // wheels need a body
    wheel.radius = 0.0f;
    desc.body = &body;
    EXPECT_FALSE(desc.isValid());

    EXPECT_EQ(scene->createActor(desc), nullptr);
    ASSERT_EQ(stream.errors.size(), 1u);
    EXPECT_EQ(stream.errors[0].first, E_INVALID_PARAMETER);
    EXPECT_EQ(scene->getNbActors(), 0u);
}

TEST_F(SceneTest, BodyMassIsSharedByItsShapes) {
    BoxShapeDesc low, high;
    low.dimensions = high.dimensions = Vec3(1.0f, 0.5f, 1.0f);
    low.localPose.t = Vec3(0, -1, 0);
    high.localPose.t = Vec3(0, 1, 0);
    high.density = 3.0f; // three times the weight of the lower box
    BodyDesc body;
    body.mass = 10.0f;
    ActorDesc desc;
    desc.body = &body;
    desc.shapes = {&low, &high};
    desc.globalPose.t = Vec3(5, 20, 5);
    Actor* actor = scene->createActor(desc);
    ASSERT_NE(actor, nullptr);
    EXPECT_FLOAT_EQ(actor->getMass(), 10.0f);
    EXPECT_NEAR(actor->getCMassLocalPose().t.y, 0.5f, 1e-5f);
    EXPECT_NEAR(actor->getCMassGlobalPosition().y, 20.5f, 1e-5f);
    EXPECT_EQ(actor->getNbShapes(), 2u);
    EXPECT_NE(actor->getShape(1)->isBox(), nullptr);
    EXPECT_EQ(actor->getShape(1)->getGlobalPosition(), Vec3(5, 21, 5));
    EXPECT_EQ(actor->getShape(2), nullptr);

    // Momenta follow the mass and the inertia.
    actor->setLinearVelocity(Vec3(1, 0, 0));
    EXPECT_NEAR(actor->getLinearMomentum().x, 10.0f, 1e-5f);
    actor->setAngularMomentum(Vec3(0, 2, 0));
    EXPECT_NEAR(actor->getAngularMomentum().y, 2.0f, 1e-4f);
    EXPECT_GT(actor->getAngularVelocity().y, 0.0f);
}

TEST_F(SceneTest, FlatBoxStillMovesAsABody) {
    Actor* plate = createBox(Vec3(0, 10, 0), Vec3(1.0f, 0.0f, 1.0f), 4.0f);
    ASSERT_NE(plate, nullptr);
    EXPECT_FLOAT_EQ(plate->getMass(), 4.0f);
    EXPECT_GT(plate->getMassSpaceInertiaTensor().y, 0.0f);
    run(*scene, 0.5f);
    EXPECT_LT(plate->getGlobalPosition().y, 9.0f);
}

TEST(Mat34Test, ComposesInvertsAndConvertsToMatrices) {
    const Mat34 turn(Mat33(Vec3(0, 0, -1), Vec3(0, 1, 0), Vec3(1, 0, 0)), Vec3(1, 2, 3));
    const Mat34 shift(Mat33(1.0f), Vec3(0, 0, 2));
    EXPECT_EQ((turn * shift).transform(Vec3(0)), Vec3(3, 2, 3));
    EXPECT_EQ((turn.inverse() * turn).transform(Vec3(4, 5, 6)), Vec3(4, 5, 6));
    const Mat34 back(turn.toMatrix());
    EXPECT_EQ(back.M, turn.M);
    EXPECT_EQ(back.t, turn.t);
    EXPECT_EQ(turn.toMatrix()[3], glm::vec4(1, 2, 3, 1));
}

TEST_F(SceneTest, PoseOfStaticAndDynamicActorsCanBeSet) {
    BoxShapeDesc box;
    box.dimensions = Vec3(1.0f);
    box.localPose.t = Vec3(0, 0, 3);
    ActorDesc desc;
    desc.shapes.push_back(&box);
    Actor* wall = scene->createActor(desc);
    ASSERT_NE(wall, nullptr);
    EXPECT_FALSE(wall->isDynamic());
    EXPECT_FLOAT_EQ(wall->getMass(), 0.0f);

    Mat34 pose;
    pose.M = Mat33(Vec3(0, 0, -1), Vec3(0, 1, 0), Vec3(1, 0, 0)); // 90 degrees about +y
    pose.t = Vec3(10, 0, 0);
    wall->setGlobalPose(pose);
    EXPECT_NEAR(wall->getShape(0)->getGlobalPosition().x, 13.0f, 1e-5f);

    // A box dropped onto the moved wall lands on it, not on the old place.
    Actor* box2 = createBox(Vec3(13, 5, 0), Vec3(0.5f), 1.0f);
    run(*scene, 2.0f);
    EXPECT_NEAR(box2->getGlobalPosition().y, 1.5f, 0.05f);
    box2->setGlobalPosition(Vec3(50, 50, 50));
    EXPECT_EQ(box2->getGlobalPosition(), Vec3(50, 50, 50));
}

TEST_F(SceneTest, BoxDroppedOnHeightFieldRestsOnItsSurface) {
    const auto ground = [](float x, float z) { return 2.0f + 0.05f * x + 0.02f * z; };
    createTerrain(*scene, ground);
    Actor* crate = createBox(Vec3(102.4f, 12, 51.2f), Vec3(1.0f), 2.0f);
    run(*scene, 4.0f);
    const Vec3 rest = crate->getGlobalPosition();
    // The ground is nearly flat: the cube lies on a face, its centre one unit above.
    EXPECT_NEAR(rest.y - ground(rest.x, rest.z), 1.0f, 0.02f);
    EXPECT_GT(crate->getGlobalOrientation()[1].y, 0.99f);
    EXPECT_LT(glm::length(crate->getLinearVelocity()), 0.05f);
    EXPECT_NEAR(rest.x, 102.4f, 0.5f);
}

TEST_F(SceneTest, BodiesCollideInsteadOfPassingThrough) {
    createTerrain(*scene, flat());
    Actor* left = createBox(Vec3(100, 3, 100), Vec3(0.5f), 1.0f);
    Actor* right = createBox(Vec3(106, 3, 100), Vec3(0.5f), 1.0f);
    left->setLinearVelocity(Vec3(8, 0, 0));
    right->setLinearVelocity(Vec3(-8, 0, 0));
    run(*scene, 1.5f);
    EXPECT_LT(left->getGlobalPosition().x, right->getGlobalPosition().x - 0.95f);
    EXPECT_LT(left->getGlobalPosition().x, 103.0f);
    EXPECT_GT(right->getGlobalPosition().x, 103.0f);

    // Released actors no longer collide.
    scene->releaseActor(*right);
    EXPECT_EQ(scene->getNbActors(), 2u);
    left->setLinearVelocity(Vec3(8, 0, 0));
    run(*scene, 1.0f);
    EXPECT_GT(left->getGlobalPosition().x, 104.0f);
}

TEST_F(SceneTest, DisableFrictionFlagLetsABoxSlideDownASlope) {
    createTerrain(*scene, slope(20.0f), false);
    MaterialDesc iceDesc;
    iceDesc.flags = MF_DISABLE_FRICTION;
    const MaterialIndex ice = scene->createMaterial(iceDesc)->getMaterialIndex();
    const auto ground = slope(20.0f);
    // Lying flat on the slope: turned 20 degrees about +z, one unit off the surface.
    const float angle = 20.0f * 3.14159265f / 180.0f;
    const Mat33 tilt(Vec3(std::cos(angle), std::sin(angle), 0),
                     Vec3(-std::sin(angle), std::cos(angle), 0), Vec3(0, 0, 1));
    const Vec3 offset = tilt[1] * 1.01f;
    Actor* sticking = createBox(Vec3(100, ground(100, 0), 60) + offset, Vec3(1.0f), 2.0f, 0, tilt);
    Actor* sliding =
        createBox(Vec3(100, ground(100, 0), 160) + offset, Vec3(1.0f), 2.0f, ice, tilt);
    // Friction 0.5 holds a box on 20 degrees (tan 20 = 0.36); without friction it slides.
    run(*scene, 2.0f);
    EXPECT_NEAR(sticking->getGlobalPosition().x, 100.0f + offset.x, 0.05f);
    EXPECT_LT(sliding->getGlobalPosition().x, 95.0f);
}

TEST_F(SceneTest, AdvancedTimeIsTheSimulatedTimeOfTheLastCall) {
    Actor* falling = createBox(Vec3(0, 1000, 0), Vec3(0.5f), 1.0f);
    // Irregular frames with a hitch of half a second: a clock that counts the advanced
    // time stays with the simulation, the falling box's speed telling its time.
    const float frames[] = {1.0f / 144, 1.0f / 30, 0.5f, 1.0f / 144, 1.0f / 60, 0.013f, 0.2f};
    double clock = 0.0;
    for (const float elapsed : frames) {
        scene->simulate(elapsed);
        scene->fetchResults(RIGID_BODY_FINISHED, true);
        EXPECT_LE(scene->getAdvancedTime(), elapsed + scene->getCarriedTime() + 1e-6f);
        clock += scene->getAdvancedTime();
    }
    EXPECT_NEAR(falling->getLinearVelocity().y, -9.81 * clock, 1e-3);
    EXPECT_LT(clock, 0.6); // the hitch's time beyond eight sub-steps is dropped

    EXPECT_EQ(subStepsOf(0.5f), 8u);
    EXPECT_FLOAT_EQ(scene->getAdvancedTime(), 8.0f / 60.0f);
    const float carried = scene->getCarriedTime();
    EXPECT_EQ(subStepsOf(1.0f / 60.0f - carried - 1e-3f), 0u);
    EXPECT_FLOAT_EQ(scene->getAdvancedTime(), 0.0f);

    SceneDesc variable;
    variable.timeStepMethod = TIMESTEP_VARIABLE;
    Scene* other = sdk->createScene(variable);
    other->simulate(0.3f);
    other->fetchResults(RIGID_BODY_FINISHED, true);
    EXPECT_FLOAT_EQ(other->getAdvancedTime(), 0.3f);
    EXPECT_FLOAT_EQ(other->getCarriedTime(), 0.0f);
}

TEST_F(SceneTest, InterpolatedPosesMoveSmoothlyAtAnyFrameRate) {
    BoxShapeDesc box;
    box.dimensions = Vec3(0.5f);
    BodyDesc body;
    body.mass = 1.0f;
    body.flags |= BF_DISABLE_GRAVITY;
    body.linearVelocity = Vec3(6, 0, 0);
    body.angularVelocity = Vec3(0, 3, 0);
    body.angularDamping = 0.0f;
    ActorDesc desc;
    desc.body = &body;
    desc.shapes.push_back(&box);
    Actor* moving = scene->createActor(desc);
    ActorDesc wallDesc;
    wallDesc.shapes.push_back(&box);
    wallDesc.globalPose.t = Vec3(0, 0, 5);
    Actor* wall = scene->createActor(wallDesc);
    EXPECT_EQ(moving->getInterpolatedGlobalPose().t, moving->getGlobalPose().t);
    EXPECT_EQ(subStepsOf(1.0f / 60.0f), 1u);

    // 144 frames a second: most frames run no sub-step, yet the drawn pose moves on
    // every frame by the same distance, one sub-step behind the simulation.
    float previous = moving->getInterpolatedGlobalPose().t.x;
    float smallest = 1.0f;
    float largest = 0.0f;
    for (int frame = 0; frame < 144; ++frame) {
        scene->simulate(1.0f / 144.0f);
        scene->fetchResults(RIGID_BODY_FINISHED, true);
        const Mat34 drawn = moving->getInterpolatedGlobalPose();
        smallest = std::min(smallest, drawn.t.x - previous);
        largest = std::max(largest, drawn.t.x - previous);
        previous = drawn.t.x;
        const float behind = 6.0f * (1.0f / 60.0f - scene->getCarriedTime());
        EXPECT_NEAR(drawn.t.x, moving->getGlobalPose().t.x - behind, 1e-3f) << frame;
        // Turned about y by the interpolated angle.
        const float angle = std::atan2(drawn.M[0].z, drawn.M[0].x);
        const float expected = -3.0f * drawn.t.x / 6.0f;
        EXPECT_NEAR(std::remainder(angle - expected, 6.2831853f), 0.0f, 1e-3f) << frame;
    }
    EXPECT_NEAR(smallest, 6.0f / 144.0f, 1e-3f);
    EXPECT_NEAR(largest, 6.0f / 144.0f, 1e-3f);

    // A pose set by hand is drawn at once; static actors are drawn where they are.
    Mat34 placed;
    placed.t = Vec3(50, 1, 2);
    moving->setGlobalPose(placed);
    EXPECT_EQ(moving->getInterpolatedGlobalPose().t, placed.t);
    EXPECT_EQ(wall->getInterpolatedGlobalPose().t, Vec3(0, 0, 5));
}

TEST_F(SceneTest, HeightFieldFindsRaysAndHighestPointsOnItsTriangles) {
    const auto bumps = [](float x, float z) {
        return 6.0f + 3.0f * std::sin(x * 0.11f) * std::cos(z * 0.07f) + 0.02f * x;
    };
    Actor* terrain = createTerrain(*scene, bumps);
    const HeightFieldShape* field = terrain->getShape(0)->isHeightField();
    ASSERT_NE(field, nullptr);
    // The surface as the height field stores it: hundredths, cells split along the
    // diagonal from (c + 1, r) to (c, r + 1).
    const float step = terrainSize / (terrainSamples - 1);
    const auto vertex = [&](int c, int r) {
        return std::trunc(bumps(c * step, r * step) * 100.0f) / 100.0f;
    };
    const auto surface = [&](float x, float z) {
        const int c = std::min(static_cast<int>(x / step), terrainSamples - 2);
        const int r = std::min(static_cast<int>(z / step), terrainSamples - 2);
        const float s = x / step - c;
        const float t = z / step - r;
        if (s + t <= 1.0f) {
            return vertex(c, r) + (vertex(c + 1, r) - vertex(c, r)) * s +
                   (vertex(c, r + 1) - vertex(c, r)) * t;
        }
        return vertex(c + 1, r + 1) + (vertex(c, r + 1) - vertex(c + 1, r + 1)) * (1 - s) +
               (vertex(c + 1, r) - vertex(c + 1, r + 1)) * (1 - t);
    };
    for (int i = 0; i < 200; ++i) {
        // Short rays like a wheel's, and long slanted ones across many cells.
        const float x = 3.0f + static_cast<float>((i * 37) % 250);
        const float z = 3.0f + static_cast<float>((i * 53) % 250);
        const bool slanted = i % 2 == 1;
        const Vec3 from(x, surface(x, z) + 1.0f, z);
        const Vec3 to = slanted ? Vec3(x + 30.0f * std::sin(i * 1.0f), from.y - 6.0f,
                                       z + 30.0f * std::cos(i * 1.0f))
                                : Vec3(x, from.y - 2.0f, z);
        float fraction = -1.0f;
        Vec3 normal(0.0f);
        if (!field->raycast(from, to, fraction, normal)) {
            // Missed: the whole segment stays above the surface.
            for (float t = 0.0f; t <= 1.0f; t += 0.01f) {
                const Vec3 p = from + (to - from) * t;
                if (p.x >= 0 && p.z >= 0 && p.x <= terrainSize && p.z <= terrainSize) {
                    EXPECT_GT(p.y, surface(p.x, p.z) - 1e-3f) << i;
                }
            }
            continue;
        }
        const Vec3 hit = from + (to - from) * fraction;
        EXPECT_NEAR(hit.y, surface(hit.x, hit.z), 2e-3f) << i;
        EXPECT_GT(normal.y, 0.5f);
        for (float t = 0.0f; t < fraction; t += 0.01f) {
            const Vec3 p = from + (to - from) * t;
            EXPECT_GT(p.y, surface(p.x, p.z) - 1e-3f) << i; // nothing met earlier
        }
        if (!slanted) {
            EXPECT_NEAR(fraction, 0.5f, 1e-3f);
        }
    }
    // The highest point over a rectangle, against a fine search of it.
    for (int i = 0; i < 50; ++i) {
        const float x0 = static_cast<float>((i * 41) % 240);
        const float z0 = static_cast<float>((i * 29) % 240);
        const float x1 = x0 + 1.0f + static_cast<float>(i % 7) * 2.3f;
        const float z1 = z0 + 0.5f + static_cast<float>(i % 5) * 3.1f;
        float searched = -1e9f;
        for (int row = 0; row <= 64; ++row) {
            for (int column = 0; column <= 64; ++column) {
                searched = std::max(searched, surface(x0 + (x1 - x0) * column / 64.0f,
                                                      z0 + (z1 - z0) * row / 64.0f));
            }
        }
        const float highest = field->getHighestPointIn(x0, z0, x1, z1);
        EXPECT_GE(highest, searched - 1e-3f) << i;
        EXPECT_LT(highest, searched + 0.01f) << i;
    }
    EXPECT_LT(field->getHighestPointIn(300, 300, 310, 310), -1e30f); // off the field
    // A body whose position is no number is never taken as clear of the ground.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_GT(field->getHighestPointIn(nan, 0, 10, 10), 1e30f);
    float fraction = 0.0f;
    Vec3 normal(0.0f);
    EXPECT_FALSE(field->raycast(Vec3(nan, 5, 5), Vec3(5, -5, 5), fraction, normal));
}
