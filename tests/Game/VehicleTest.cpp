// The car: creation on the Test Track, its control ramps and torque curve, keys
// through the real key table, race progress and the end of a race.
#include "VehicleTestSupport.h"

using namespace GameTest;

namespace {

constexpr double frame = 1.0 / 60.0;

} // namespace

class VehicleTest : public LevelTest {
protected:
    // Sets a track of two checkpoints and one lap and takes the car through both; it
    // stands just past the finish line.
    void passBothCheckpointsOfAOneLapTrack(Game::VehicleObject& car) {
        const std::vector<Game::TrackPoint> points = {{5, 5, 80, 66, 90}, {5, 5, 60, 66, 90}};
        level->setTrack(points, level->getStartPositions(), 1);
        car.placeAt(points[0]);
        runFor(0.1);
        car.placeAt(points[1]);
        runFor(0.1);
        car.placeAt({1, 1, 55, 66, 90});
    }
    Game::VehicleObjectPtr addCar(const std::string& driver,
                                  const Data::Control& control = arrowKeys()) {
        return level->createVehicleObject(Game::describePlayerCar(driver, control),
                                          {200.0f, 30.0f, 20.0f});
    }

    // Updates the level for `seconds` in frames of 1/60 s.
    void runFor(double seconds) {
        const int frames = static_cast<int>(std::lround(seconds / frame));
        for (int i = 0; i < frames; ++i) {
            level->update(frame);
        }
    }

    static int wheelsOnGround(const Game::VehicleObject& car) {
        int count = 0;
        for (const Game::WheelPtr& wheel : car.getWheels()) {
            Physics::WheelContactData contact;
            count += wheel->getShape()->getContact(contact) != nullptr ? 1 : 0;
        }
        return count;
    }
};

TEST_F(VehicleTest, CarsStartOnTheirWheelsAtTheirStartPositions) {
    buildTestTrack();
    RenderTest::LogRecorder log;
    Game::VehicleDesc withSpare = Game::describePlayerCar("Alice", arrowKeys());
    Game::WheelDesc spare;
    spare.name = "wheelSpare";
    withSpare.wheels.push_back(spare);
    const auto alice = level->createVehicleObject(withSpare, {255, 0, 0});
    ASSERT_TRUE(alice);
    const Tool::Message* missing = log.find("Coudln't create Wheel; SceneNode not found");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->getMessage(), "wheelSpare");
    const Tool::Message* made = log.find("Initialised VehicleObject .. [OK]");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getMessage(), "Wheels: 4 Driven: 2 Braked: 4 Steerable: 2");

    EXPECT_FALSE(addCar("alice")) << "names clash without regard to letter case";
    const auto bob = addCar("Bob");
    const auto carol = addCar("Carol");
    ASSERT_TRUE(bob && carol);
    EXPECT_FALSE(addCar("Dave"));
    EXPECT_EQ(log.find("Creating VehicleObject .. [Failed]")->getMessage(),
              "\"VehicleObject_alice\" already exists");
    EXPECT_EQ(log.messages.back().getMessage(), "Maximum Numbers of Vehicles reached");
    EXPECT_NE(level->getCameras().find("VehicleObject_Carol_DefaultCamera"),
              level->getCameras().end());
    EXPECT_EQ(level->getCurrentCamera()->getName(), "VehicleObject_Carol_DefaultCamera");

    const std::vector<Game::VehicleObjectPtr> cars = {alice, bob, carol};
    std::vector<glm::vec3> starts;
    for (const auto& car : cars) {
        starts.push_back(car->getPosition());
    }
    runFor(3.0);
    for (std::size_t i = 0; i < cars.size(); ++i) {
        const Game::TrackPoint& start = level->getStartPositions()[i];
        const glm::vec3 p = cars[i]->getPosition();
        EXPECT_NEAR(p.x, start.x, 0.01f) << "car " << i << " stands still";
        EXPECT_NEAR(p.z, start.z, 0.01f);
        EXPECT_NEAR(p.y, starts[i].y, 0.03f) << "no drop when the race begins";
        EXPECT_EQ(wheelsOnGround(*cars[i]), 4);
        const glm::vec3 forward = cars[i]->getRotation() * glm::vec3(0, 0, 1);
        EXPECT_NEAR(forward.x, 1.0f, 1e-3f) << "faces east along the start straight";
    }
    // The chase camera rides with its car.
    const auto& chase = level->getCameras().at("VehicleObject_Alice_DefaultCamera");
    const glm::vec3 seen = chase->getCamera()->getWorldTransformation()[3];
    EXPECT_NEAR(seen.x, alice->getPosition().x - 30.0f, 0.1f);
}

// Steering kept slow (full lock in 1.5 s): driven from one lock toward the other it
// crosses the centre as quickly as it would return there on its own (0.75 s), then goes
// on at its own rate.
TEST(ValueRampTest, DrivenBackAcrossItsTargetMovesAtLeastAtTheReturnRate) {
    Game::ValueRamp steering{1.0f, 0.0f, -1.0f, 1.0f, 1.0f / 1.5f, 4.0f / 3.0f};
    const auto runFor = [&](double seconds) {
        for (int i = 0; i < static_cast<int>(seconds * 60.0 + 0.5); ++i) {
            steering.update(1.0 / 60.0);
        }
    };
    steering.mode = Game::ValueRamp::DRIVE_DOWN;
    runFor(0.75);
    EXPECT_NEAR(steering.current, 0.0f, 0.02f);
    runFor(0.75);
    EXPECT_NEAR(steering.current, -0.5f, 0.02f);
    steering.mode = Game::ValueRamp::DRIVE_UP;
    runFor(0.375);
    EXPECT_NEAR(steering.current, 0.0f, 0.02f);
    runFor(0.75);
    EXPECT_NEAR(steering.current, 0.5f, 0.02f);
}

TEST_F(VehicleTest, RampsAndTorqueCurve) {
    buildTestTrack();
    const auto car = addCar("Alice");
    // The throttle follows the accelerator with a lag: about two thirds of the way
    // after one time constant, and as far back after letting go.
    const float lag = car->getTuning().throttleLag;
    sendKey(Platform::KEY_UP, Platform::PRESS);
    runFor(lag);
    EXPECT_NEAR(car->getThrottle(), 1.0f - std::exp(-1.0f), 0.03f);
    runFor(6.0 * lag);
    EXPECT_GT(car->getThrottle(), 0.99f) << "full throttle when held";
    sendKey(Platform::KEY_UP, Platform::RELEASE);
    runFor(lag);
    EXPECT_NEAR(car->getThrottle(), std::exp(-1.0f), 0.03f);
    runFor(6.0 * lag);
    EXPECT_LT(car->getThrottle(), 0.01f) << "back to idle";

    // Full lock in half a second, quick enough for a keyboard player to catch the car.
    sendKey(Platform::KEY_LEFT, Platform::PRESS);
    runFor(0.25);
    EXPECT_NEAR(car->getSteeringRamp().current, 0.5f, 0.02f);
    runFor(0.25);
    EXPECT_NEAR(car->getSteeringRamp().current, 1.0f, 1e-4f) << "full lock after 0.5 s";
    // The front wheels point at one centre on the rear axle's line, 30 degrees midway
    // between them: the inner (left) wheel turns further than the outer one.
    const float inner = car->getWheels()[2]->getSteerAngle();
    const float outer = car->getWheels()[3]->getSteerAngle();
    EXPECT_GT(inner, 33.0f);
    EXPECT_LT(outer, 28.0f);
    const auto centreOffset = [](float degrees) {
        return 2.55f / std::tan(glm::radians(degrees)); // from the wheel to the centre
    };
    EXPECT_NEAR(centreOffset(inner) + 0.83f, centreOffset(30.0f), 0.05f);
    EXPECT_NEAR(centreOffset(outer) - 0.83f, centreOffset(30.0f), 0.05f);
    sendKey(Platform::KEY_LEFT, Platform::RELEASE);
    runFor(0.75);
    EXPECT_NEAR(car->getSteeringRamp().current, 0.0f, 1e-4f) << "centred again in 0.75 s";

    sendKey(Platform::KEY_DOWN, Platform::PRESS);
    runFor(2.0);
    EXPECT_NEAR(car->getBrakeRamp().current, 40.0f, 0.01f);
    runFor(3.0);
    EXPECT_FLOAT_EQ(car->getBrakeRamp().current, 100.0f) << "full brake after 5 s";
    // Letting go of the accelerator while braking drops the brake at once.
    sendKey(Platform::KEY_UP, Platform::PRESS);
    sendKey(Platform::KEY_UP, Platform::RELEASE);
    EXPECT_FLOAT_EQ(car->getBrakeRamp().current, 0.0f);

    EXPECT_FLOAT_EQ(car->torqueAt(1500.0f), 562.5f);
    EXPECT_FLOAT_EQ(car->torqueAt(400.0f), 675.0f);
    EXPECT_FLOAT_EQ(car->torqueAt(6000.0f), 390.0f);
    EXPECT_FLOAT_EQ(car->torqueAt(9000.0f), 390.0f);
    EXPECT_FLOAT_EQ(car->torqueAt(3500.0f), 487.5f);
}

TEST_F(VehicleTest, KeysMatchThroughTheKeyTable) {
    buildTestTrack();
    Data::Control shared = arrowKeys();
    shared.accelerate = 'A';
    shared.steerLeft = 'A';
    const auto twoInOne = addCar("Alice", shared);
    const auto arrows = addCar("Bob");
    const glm::vec3 start = arrows->getPosition();

    sendKey('A', Platform::PRESS);
    EXPECT_EQ(twoInOne->getThrottleRamp().mode, Game::ValueRamp::DRIVE_UP);
    EXPECT_EQ(twoInOne->getSteeringRamp().mode, Game::ValueRamp::DRIVE_UP);
    EXPECT_EQ(arrows->getThrottleRamp().mode, Game::ValueRamp::RETURN);
    sendKey('A', Platform::RELEASE);

    sendKey(Platform::KEY_UP, Platform::PRESS);
    runFor(3.0);
    EXPECT_GT(arrows->getPosition().x - start.x, 5.0f) << "the Up arrow (virtual key 38) drives";
    sendKey(Platform::KEY_UP, Platform::RELEASE);

    arrows->getActor()->putToSleep();
    sendKey('Q', Platform::PRESS);
    EXPECT_FALSE(arrows->getActor()->isSleeping()) << "any key wakes the car";

    arrows->release();
    const auto& listeners = testInput().getKeyListeners();
    EXPECT_EQ(std::count(listeners.begin(), listeners.end(), arrows.get()), 0);
}

TEST_F(VehicleTest, LapsCountOnlyCheckpointsPassedInOrder) {
    buildTestTrack();
    const auto car = addCar("Alice");
    const std::vector<Game::TrackPoint> points = {
        {5, 5, 70, 66, 90}, {5, 5, 150, 66, 90}, {5, 5, 110, 66, 90}};
    level->setTrack(points, level->getStartPositions(), 2);
    const auto visit = [&](int index, double after) {
        car->placeAt(points[static_cast<std::size_t>(index)]);
        runFor(after);
    };
    visit(0, 1.0);
    EXPECT_EQ(car->getNextCheckpoint(), 1);
    EXPECT_TRUE(car->getLapTimes().empty()) << "the first pass of the line counts no lap";
    visit(2, 1.0);
    EXPECT_EQ(car->getNextCheckpoint(), 1) << "skipped checkpoint 1: no progress";
    visit(1, 2.0);
    visit(2, 2.0);
    visit(0, 1.0);
    ASSERT_EQ(car->getLapTimes().size(), 1u);
    EXPECT_NEAR(car->getLapTimes()[0], 6.0, 2 * frame);
    EXPECT_EQ(car->getCurrentLap(), 2);
    EXPECT_FALSE(car->isFinished());
    visit(1, 1.0);
    visit(2, 1.0);
    EXPECT_EQ(car->getRespawn().x, 110.0f) << "the last checkpoint passed is where a reset goes";
    visit(0, 1.0);
    ASSERT_EQ(car->getLapTimes().size(), 2u);
    EXPECT_NEAR(car->getLapTimes()[1], 3.0, 2 * frame);
    EXPECT_DOUBLE_EQ(car->getBestLap(), car->getLapTimes()[1]);
    EXPECT_TRUE(car->isFinished());
    EXPECT_EQ(car->getCurrentLap(), 2);
}

TEST_F(VehicleTest, AFinishedCarLetsGoAndStopsAfterTheLine) {
    buildTestTrack(1);
    const auto car = addCar("Alice");
    passBothCheckpointsOfAOneLapTrack(*car);
    sendKey(Platform::KEY_UP, Platform::PRESS);
    runFor(5.0);
    ASSERT_TRUE(car->isFinished()) << "drove over the line at full throttle";
    runFor(10.0);
    EXPECT_LT(glm::length(car->getActor()->getLinearVelocity()), 0.5f);
    EXPECT_FLOAT_EQ(car->getThrottle(), 0.0f);
    EXPECT_GT(car->getBrakeRamp().current, 50.0f);
    sendKey(Platform::KEY_UP, Platform::RELEASE);
    sendKey(Platform::KEY_UP, Platform::PRESS);
    EXPECT_EQ(car->getThrottleRamp().mode, Game::ValueRamp::RETURN) << "keys are ignored";
}

TEST_F(VehicleTest, AHitchCostsNoRaceTimeAndFastFramesMoveTheCarSmoothly) {
    buildTestTrack();
    const auto car = addCar("Alice");
    sendKey(Platform::KEY_UP, Platform::PRESS);
    runFor(3.0);
    const double raceTime = level->getRaceTime();
    const double lapTime = car->getLapTime();
    level->update(0.5);
    // At most eight physics sub-steps run in one update; the clocks count only those.
    EXPECT_NEAR(level->getRaceTime() - raceTime, 8.0 / 60.0, 1e-6);
    EXPECT_NEAR(car->getLapTime() - lapTime, 8.0 / 60.0, 1e-6);

    // At 144 frames a second most frames run no sub-step, yet the car is drawn a little
    // further along in every one of them.
    float previous = car->getPosition().x;
    for (int frame = 0; frame < 60; ++frame) {
        level->update(1.0 / 144.0);
        const float x = car->getNode()->getTransformation()[3].x;
        EXPECT_GT(x, previous) << "frame " << frame;
        previous = x;
    }
}

TEST_F(VehicleTest, PedalsInProportionSteerAtOnceReverseAndLetGoAtTheFinish) {
    buildTestTrack(1);
    const auto car = addCar("Alice");
    const float lag = car->getTuning().throttleLag;
    // Half the accelerator settles at half throttle; the steering is where it is asked,
    // without a ramp.
    car->setPedals(-0.5f, 0.5f, 0.0f);
    level->update(frame);
    EXPECT_FLOAT_EQ(car->getSteeringRamp().current, -0.5f);
    runFor(8.0 * lag);
    EXPECT_NEAR(car->getThrottle(), 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(car->getSteeringRamp().current, -0.5f) << "held, not returning";
    EXPECT_GT(car->getForwardSpeed(), 1.0f);

    // The brake follows its share at the brake's rate (full brake takes 5 s): 40 after
    // 2 s, and no further.
    car->setPedals(0.0f, 0.0f, 0.4f);
    runFor(3.0);
    EXPECT_FLOAT_EQ(car->getBrakeRamp().current, 40.0f);
    EXPECT_FLOAT_EQ(car->getSteeringRamp().current, 0.0f);
    // Once the car stands, the brake alone drives it backwards.
    runFor(1.5);
    EXPECT_TRUE(car->isReversing());
    EXPECT_LT(car->getForwardSpeed(), -1.0f);

    // Over the finish line the car lets go, whatever the pedals still ask.
    passBothCheckpointsOfAOneLapTrack(*car);
    // Steering a hair to the left, still through the line.
    car->setPedals(0.02f, 1.0f, 0.0f);
    runFor(5.0);
    ASSERT_TRUE(car->isFinished()) << "drove over the line at full throttle";
    car->setPedals(1.0f, 1.0f, 0.0f);
    runFor(10.0);
    EXPECT_FLOAT_EQ(car->getThrottle(), 0.0f);
    EXPECT_FLOAT_EQ(car->getSteeringRamp().current, 0.0f);
    EXPECT_LT(glm::length(car->getActor()->getLinearVelocity()), 0.5f);
}
