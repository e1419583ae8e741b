// What the race sounds read from a car of the Test Track: its slides and its hits.
#include "Game/audio/RaceSounds.h"
#include "Game/vehicle/VehicleDesc.h"

#include "tests/Game/VehicleTestSupport.h"

#include <algorithm>

TEST(CarAudioTest, ACarReportsTyresSlidingAndHardHits) {
    GameTest::useBinFolder();
    GameTest::SdkPtr sdk = GameTest::createSdk();
    Game::Level level(sdk.get());
    ASSERT_TRUE(level.buildTestTrack(1));
    const auto car = level.createVehicleObject(
        Game::describePlayerCar("Ann", GameTest::arrowKeys()), {255, 0, 0});
    ASSERT_TRUE(car);
    Physics::Actor& body = *car->getActor();
    // Steps the level and returns the largest slide and hit it reported.
    const auto drive = [&](int frames) {
        Game::CarAudio largest;
        for (int i = 0; i < frames; ++i) {
            level.update(1.0 / 60.0);
            const Game::CarAudio state = Game::RaceSounds::describe(*car);
            EXPECT_EQ(state.name, "VehicleObject_Ann");
            EXPECT_EQ(state.position, car->getPosition());
            largest.slide = std::max(largest.slide, state.slide);
            largest.impact = std::max(largest.impact, state.impact);
        }
        return largest;
    };

    const Game::CarAudio standing = drive(60);
    EXPECT_LT(standing.slide, 0.5f);
    EXPECT_LT(standing.impact, 1.0f) << "standing on its wheels is no hit";

    const glm::vec3 forward = car->getRotation() * glm::vec3(0.0f, 0.0f, 1.0f);
    const glm::vec3 left = car->getRotation() * glm::vec3(1.0f, 0.0f, 0.0f);
    body.setLinearVelocity(left * 10.0f);
    EXPECT_GT(drive(3).slide, 5.0f) << "thrown sideways, the tyres slide";

    // Into a crate far heavier than the car.
    const Game::TrackPoint& start = level.getStartPositions().front();
    car->placeAt(start);
    GameTest::addBox(*level.getScene(), car->getPosition() + forward * 5.0f, glm::vec3(1.0f),
                     1000.0f);
    drive(1);
    body.setLinearVelocity(forward * 15.0f);
    EXPECT_GT(drive(30).impact, 8.0f);
    EXPECT_EQ(Game::RaceSounds::describe(*car).impact, 0.0f) << "each hit is reported once";
}
