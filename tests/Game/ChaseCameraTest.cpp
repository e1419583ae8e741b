// The car's chase camera on the Test Track: it follows the car's heading with a lag,
// and however the car lies, the horizon stays level and the view's pitch moderate.
#include "Game/level/Terrain.h"
#include "VehicleTestSupport.h"

#include <glm/gtc/constants.hpp>

using namespace GameTest;

namespace {

constexpr double frame = 1.0 / 60.0;

// How the scene camera sees the level: where it is, its right and up axes and the
// direction it looks in (its -z axis).
struct View {
    glm::vec3 eye, right, up, look;

    float heading() const { return std::atan2(look.x, look.z); }
    float pitch() const { return std::asin(std::clamp(look.y, -1.0f, 1.0f)); }
};

View viewOf(const Game::Camera& camera) {
    const glm::mat4 world = camera.getCamera()->getWorldTransformation();
    return {glm::vec3(world[3]), glm::normalize(glm::vec3(world[0])),
            glm::normalize(glm::vec3(world[1])), -glm::normalize(glm::vec3(world[2]))};
}

// The signed angle from one heading to another, in (-pi, pi].
float turnBetween(float from, float to) {
    return std::remainder(to - from, glm::two_pi<float>());
}

} // namespace

class ChaseCameraTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        buildTestTrack();
        car = level->createVehicleObject(Game::describePlayerCar("Alice", arrowKeys()),
                                         {200.0f, 30.0f, 20.0f});
        ASSERT_TRUE(car);
        chase = level->getCameras().at("VehicleObject_Alice_DefaultCamera");
        start = car->getPosition();
    }

    // Puts the car at rest at `position`, facing `heading` (radians, 0 along +z) and
    // then tilted by `tilt` about its own axes.
    void place(const glm::vec3& position, float heading, const glm::quat& tilt) {
        const glm::quat rotation = glm::angleAxis(heading, glm::vec3(0, 1, 0)) * tilt;
        Physics::Actor* actor = car->getActor();
        actor->setGlobalPose(Physics::Mat34(glm::mat3_cast(rotation), position));
        actor->setLinearVelocity(glm::vec3(0.0f));
        actor->setAngularVelocity(glm::vec3(0.0f));
    }

    Game::VehicleObjectPtr car;
    Game::CameraPtr chase;
    glm::vec3 start{0.0f};
};

TEST_F(ChaseCameraTest, FollowsTheHeadingWithALagFromBehindAndAbove) {
    const float east = glm::half_pi<float>();
    View view = viewOf(*chase);
    EXPECT_NEAR(turnBetween(east, view.heading()), 0.0f, 1e-3f) << "looks the way the car faces";
    EXPECT_NEAR(view.eye.x, start.x - 30.0f, 0.1f);
    EXPECT_NEAR(view.eye.y, start.y + 20.0f, 0.1f);
    EXPECT_NEAR(view.eye.z, start.z, 0.1f);
    EXPECT_LT(view.pitch(), -0.2f) << "looks down on the car";

    // Turned a quarter turn on the spot, to face -z: the camera swings round after it.
    const float turned = glm::pi<float>();
    place(start, turned, glm::quat(1, 0, 0, 0));
    level->update(frame);
    const float firstTurn = turnBetween(east, viewOf(*chase).heading());
    EXPECT_GT(firstTurn, 0.0f) << "turns the same way as the car";
    EXPECT_LT(firstTurn, 0.15f) << "but only a little in one frame";
    for (int i = 0; i < 90; ++i) {
        level->update(frame);
    }
    view = viewOf(*chase);
    EXPECT_NEAR(turnBetween(turned, view.heading()), 0.0f, 0.02f) << "caught up after 1.5 s";
    const glm::vec3 behind = car->getPosition() + glm::vec3(0.0f, 0.0f, 30.0f);
    EXPECT_NEAR(view.eye.x, behind.x, 0.7f);
    EXPECT_NEAR(view.eye.z, behind.z, 0.7f);
}

TEST_F(ChaseCameraTest, KeepsTheHorizonLevelAndThePitchModerateHoweverTheCarLies) {
    const float east = glm::half_pi<float>();
    const glm::vec3 forward(0, 0, 1), side(1, 0, 0);
    const struct {
        const char* name;
        glm::quat tilt;
    } poses[] = {
        {"leaning 60 degrees", glm::angleAxis(glm::radians(60.0f), forward)},
        {"on its side", glm::angleAxis(glm::radians(-90.0f), forward)},
        {"on its roof", glm::angleAxis(glm::pi<float>(), forward)},
        {"nose up", glm::angleAxis(glm::radians(-70.0f), side)},
        {"standing on its tail", glm::angleAxis(glm::radians(-90.0f), side)},
        {"nose down and leaning",
         glm::angleAxis(glm::radians(50.0f), side) * glm::angleAxis(glm::radians(40.0f), forward)},
    };
    const Game::Terrain& terrain = *level->getTerrain();
    for (const auto& pose : poses) {
        // Dropped from a few units up, the car tumbles onto the track; every frame of
        // its fall is checked.
        place(start + glm::vec3(0.0f, 4.0f, 0.0f), east, pose.tilt);
        float leastUp = 1.0f, mostRoll = 0.0f, lowestPitch = 1.0f, highestPitch = -1.0f;
        float lowestClearance = 100.0f;
        for (int i = 0; i < 60; ++i) {
            level->update(frame);
            const View view = viewOf(*chase);
            mostRoll = std::max(mostRoll, std::abs(view.right.y));
            leastUp = std::min(leastUp, view.up.y);
            lowestPitch = std::min(lowestPitch, view.pitch());
            highestPitch = std::max(highestPitch, view.pitch());
            lowestClearance =
                std::min(lowestClearance, view.eye.y - terrain.getHeight(view.eye.x, view.eye.z));
        }
        EXPECT_LT(mostRoll, 1e-4f) << pose.name << ": the horizon tilts";
        EXPECT_GT(leastUp, 0.8f) << pose.name;
        EXPECT_GE(lowestPitch, -0.61f) << pose.name;
        EXPECT_LE(highestPitch, 0.11f) << pose.name;
        EXPECT_GT(lowestClearance, 1.9f) << pose.name;
    }
}
