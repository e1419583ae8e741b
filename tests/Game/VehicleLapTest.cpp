// The car on the real track: a whole lap driven with its keys, and the reset key.
#include "VehicleTestSupport.h"

#include <iostream>

using namespace GameTest;

namespace {

constexpr double frame = 1.0 / 60.0;

} // namespace

class VehicleLapTest : public LevelTest {};

TEST_F(VehicleLapTest, DrivesAFullLapOfTheTestTrack) {
    buildTestTrack(1);
    const auto car =
        level->createVehicleObject(Game::describePlayerCar("Alice", arrowKeys()), {200, 30, 20});
    ASSERT_TRUE(car);
    Keyboard keyboard;
    std::vector<int> passed;
    double time = 0.0, airborne = 0.0, longestFlight = 0.0;
    while (!car->isFinished() && time < 120.0) {
        followDrivingLine(keyboard, *car, *level);
        const int before = car->getLastCheckpoint();
        level->update(frame);
        time += frame;
        if (car->getLastCheckpoint() != before) {
            passed.push_back(car->getLastCheckpoint());
        }
        int contacts = 0;
        for (const Game::WheelPtr& wheel : car->getWheels()) {
            Physics::WheelContactData contact;
            contacts += wheel->getShape()->getContact(contact) != nullptr ? 1 : 0;
        }
        airborne = contacts == 0 ? airborne + frame : 0.0;
        longestFlight = std::max(longestFlight, airborne);
        const glm::vec3 p = car->getPosition();
        ASSERT_GT(carUp(*car), 0.5f) << "overturned at " << p.x << ", " << p.z << " after " << time;
        ASSERT_GT(p.y, level->getTerrain()->getHeight(p.x, p.z) - 0.5f) << "fell through";
    }
    keyboard.releaseAll();
    ASSERT_TRUE(car->isFinished()) << "stuck before checkpoint " << car->getNextCheckpoint();
    EXPECT_EQ(passed, (std::vector<int>{0, 1, 2, 3, 4, 5, 0}));
    EXPECT_LT(longestFlight, 0.5) << "only short jumps";
    const double lap = car->getLapTimes().at(0);
    EXPECT_GT(lap, 25.0);
    EXPECT_LT(lap, 60.0);
    std::cout << "lap time " << lap << " s, longest flight " << longestFlight << " s\n";
}

TEST_F(VehicleLapTest, ResetPutsAnOverturnedCarBackOnItsWheels) {
    buildTestTrack(1);
    const auto car =
        level->createVehicleObject(Game::describePlayerCar("Alice", arrowKeys()), {200, 30, 20});
    const Game::TrackPoint& checkpoint = level->getCheckpoints()[0];
    car->placeAt(checkpoint);
    level->update(frame);
    ASSERT_EQ(car->getLastCheckpoint(), 0);
    // Roll it onto its roof somewhere else.
    const glm::mat3 upsideDown = glm::mat3_cast(glm::angleAxis(3.14159f, glm::vec3(0, 0, 1)));
    car->getActor()->setGlobalPose({upsideDown, {200.0f, 12.0f, 100.0f}});
    for (int i = 0; i < 120; ++i) {
        level->update(frame);
    }
    ASSERT_LT(carUp(*car), -0.5f);
    sendKey('R', Platform::PRESS);
    sendKey('R', Platform::RELEASE);
    const float ground = level->getTerrain()->getHeight(checkpoint.x, checkpoint.z);
    EXPECT_NEAR(car->getPosition().y, ground + 2.0f, 1e-3f);
    for (int i = 0; i < 180; ++i) {
        level->update(frame);
    }
    EXPECT_GT(carUp(*car), 0.99f);
    EXPECT_NEAR(car->getPosition().x, checkpoint.x, 0.5f);
    EXPECT_NEAR(car->getPosition().z, checkpoint.z, 0.5f);
    EXPECT_NEAR((car->getRotation() * glm::vec3(0, 0, 1)).x, 1.0f, 0.01f)
        << "faces the checkpoint's heading";
}
