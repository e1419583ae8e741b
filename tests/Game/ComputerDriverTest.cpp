// Computer drivers on the Test Track, stepped at 60 frames a second without drawing.
#include "Game/vehicle/ComputerDriver.h"
#include "VehicleTestSupport.h"

#include <iostream>

using namespace GameTest;

namespace {

constexpr double frame = 1.0 / 60.0;

Data::Control computer(std::uint32_t difficulty) {
    Data::Control control = arrowKeys();
    control.aiEnabled = true;
    control.aiDifficulty = difficulty;
    return control;
}

} // namespace

class ComputerDriverTest : public LevelTest {
protected:
    Game::VehicleObjectPtr addCar(const std::string& name, const Data::Control& control) {
        return level->createVehicleObject(Game::describePlayerCar(name, control), {0, 200, 0});
    }

    // Runs until every car has finished or the time is up; returns the seconds run.
    double race(double limit) {
        double time = 0.0;
        const auto allFinished = [this] {
            return std::all_of(level->getVehicles().begin(), level->getVehicles().end(),
                               [](const auto& entry) { return entry.second->isFinished(); });
        };
        while (!allFinished() && time < limit) {
            level->update(frame);
            time += frame;
        }
        return time;
    }
};

TEST_F(ComputerDriverTest, EachDifficultyFinishesThreeLapsAndHarderIsFaster) {
    std::vector<double> totals;
    for (std::uint32_t difficulty = 0; difficulty < 3; ++difficulty) {
        buildTestTrack(3);
        const auto car = addCar("Computer", computer(difficulty));
        std::vector<int> passed;
        double time = 0.0;
        while (!car->isFinished() && time < 300.0) {
            const int before = car->getLastCheckpoint();
            level->update(frame);
            time += frame;
            if (car->getLastCheckpoint() != before) {
                passed.push_back(car->getLastCheckpoint());
            }
        }
        ASSERT_TRUE(car->isFinished()) << "difficulty " << difficulty;
        std::vector<int> expected = {0};
        for (int lap = 0; lap < 3; ++lap) {
            expected.insert(expected.end(), {1, 2, 3, 4, 5, 0});
        }
        EXPECT_EQ(passed, expected) << "difficulty " << difficulty;
        const std::vector<double>& laps = car->getLapTimes();
        totals.push_back(laps.at(0) + laps.at(1) + laps.at(2));
        std::cout << Game::ComputerDriver::skillFor(difficulty).cornerGrip << " grip: laps "
                  << laps[0] << " " << laps[1] << " " << laps[2] << " s\n";
        level.reset();
        sdk.reset();
    }
    EXPECT_GT(totals[0], totals[1] * 1.1) << "Easy is clearly slower than Normal";
    EXPECT_GT(totals[1], totals[2] * 1.05) << "Normal is clearly slower than Hard";
}

TEST_F(ComputerDriverTest, ThreeCarsTogetherAllFinishAndRecoverFromTrouble) {
    buildTestTrack(2);
    const auto easy = addCar("Easy", computer(0));
    const auto normal = addCar("Normal", computer(1));
    const auto hard = addCar("Hard", computer(2));
    double time = 0.0;
    const auto runUntil = [&](double until) {
        for (; time < until; time += frame) {
            level->update(frame);
        }
    };
    runUntil(20.0);
    // One car is pushed far off the road, another rolled onto its roof.
    const float h = level->getTerrain()->getHeight(128, 128);
    normal->getActor()->setGlobalPose({glm::mat3(1.0f), {128.0f, h + 1.0f, 150.0f}});
    const glm::mat3 upsideDown = glm::mat3_cast(glm::angleAxis(3.14159f, glm::vec3(0, 0, 1)));
    const glm::vec3 at = hard->getPosition();
    hard->getActor()->setGlobalPose({upsideDown, at + glm::vec3(0.0f, 2.0f, 0.0f)});
    const auto allFinished = [&] {
        return easy->isFinished() && normal->isFinished() && hard->isFinished();
    };
    while (!allFinished() && time < 240.0) {
        level->update(frame);
        time += frame;
    }
    std::cout << "all finished after " << time << " s\n";
    EXPECT_TRUE(easy->isFinished());
    EXPECT_TRUE(normal->isFinished()) << "back from the field";
    EXPECT_TRUE(hard->isFinished()) << "back on its wheels";
}

TEST_F(ComputerDriverTest, ACarStandingAheadOnTheGridIsPassedNotPushed) {
    // The grid is single file: a player who has not set off yet stands in the way of
    // the computer car behind, which must drive round it.
    for (std::uint32_t difficulty = 0; difficulty < 3; ++difficulty) {
        buildTestTrack(1);
        const auto standing = addCar("Standing", arrowKeys());
        const auto robot = addCar("Robot", computer(difficulty));
        const glm::vec3 start = standing->getPosition();
        for (double time = 0.0; time < 15.0; time += frame) {
            level->update(frame);
        }
        EXPECT_LT(glm::length(standing->getPosition() - start), 0.5f)
            << "difficulty " << difficulty << " hit the standing car";
        EXPECT_GE(robot->getLastCheckpoint(), 1) << "difficulty " << difficulty << " got past";
        level.reset();
        sdk.reset();
    }
}

TEST_F(ComputerDriverTest, TheKeyboardDrivesOnlyHumanCars) {
    buildTestTrack(1);
    const auto human = addCar("Human", arrowKeys());
    const auto robot = addCar("Robot", computer(1));
    sendKey(Platform::KEY_UP, Platform::PRESS);
    sendKey(Platform::KEY_LEFT, Platform::PRESS);
    EXPECT_EQ(human->getThrottleRamp().mode, Game::ValueRamp::DRIVE_UP);
    EXPECT_EQ(robot->getThrottleRamp().mode, Game::ValueRamp::RETURN);
    EXPECT_EQ(robot->getSteeringRamp().mode, Game::ValueRamp::RETURN);
    sendKey(Platform::KEY_UP, Platform::RELEASE);
    sendKey(Platform::KEY_LEFT, Platform::RELEASE);
    for (int i = 0; i < 30; ++i) {
        level->update(frame);
    }
    EXPECT_EQ(robot->getThrottleRamp().mode, Game::ValueRamp::DRIVE_UP) << "drives itself";
    EXPECT_EQ(human->getThrottleRamp().mode, Game::ValueRamp::RETURN);
}
