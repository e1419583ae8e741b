// The game's car on the real Test Track, driven through its controls: standing,
// accelerating, braking, reversing, the gearbox, the throttle and the steering.
#include "TrackSupport.h"

#include <cstdio>

using namespace TrackTest;

namespace {

class CarHandling : public Track {
protected:
    // The steepest slope the car can stand on: the ground's steepest spot, up to 25
    // degrees, away from the walls.
    glm::vec3 steepestSpot(float& slope) const {
        glm::vec3 best(0.0f);
        slope = 0.0f;
        for (float z = 20.0f; z <= 236.0f; z += 2.0f) {
            for (float x = 20.0f; x <= 236.0f; x += 2.0f) {
                const float h = ground(x, z);
                const glm::vec2 gradient(ground(x + 1.0f, z) - ground(x - 1.0f, z),
                                         ground(x, z + 1.0f) - ground(x, z - 1.0f));
                const float s = std::atan(glm::length(gradient) * 0.5f);
                if (s > slope && s < 25.0f * degrees && h > 2.5f) {
                    slope = s;
                    best = {x, h, z};
                }
            }
        }
        return best;
    }
};

TEST_F(CarHandling, CarsStandStillOnTheGridAndOnTheSteepestSlopeWithNoPedalPressed) {
    const auto first = addCar("A");
    const auto second = addCar("B");
    const auto third = addCar("C");
    run(1.0);
    for (const auto& car : {first, second, third}) {
        const glm::vec3 settled = car->getPosition();
        run(10.0 / 3.0);
        SCOPED_TRACE(car->getName());
        EXPECT_LT(glm::length(car->getPosition() - settled), 0.02f);
        EXPECT_EQ(wheelsOnGround(*car), 4);
        EXPECT_GT(forwardOf(*car).x, 0.999f);
    }
    // Released facing down the steepest slope, the car holds itself on its brakes.
    float slope = 0.0f;
    const glm::vec3 spot = steepestSpot(slope);
    ASSERT_GT(slope, 12.0f * degrees);
    const glm::vec2 downhill(ground(spot.x - 1.0f, spot.z) - ground(spot.x + 1.0f, spot.z),
                             ground(spot.x, spot.z - 1.0f) - ground(spot.x, spot.z + 1.0f));
    first->placeAt({1, 1, spot.x, spot.z, std::atan2(downhill.x, downhill.y) / degrees});
    run(1.0);
    const glm::vec3 held = first->getPosition();
    run(5.0);
    EXPECT_LT(glm::length(first->getPosition() - held), 0.05f) << "on " << slope / degrees;
}

TEST_F(CarHandling, AcceleratesBrakesStraightWithTurningWheelsThenReversesAndHolds) {
    const auto car = addCar("Alice");
    Pedals pedals(*car);
    run(0.5);
    pedals.set(Car::ACCELERATE, true);
    const double toFifteen = runUntil([&] { return car->getForwardSpeed() >= 15.0f; }, 10.0);
    EXPECT_LT(toFifteen, 4.5);
    const double toTwenty = runUntil([&] { return car->getForwardSpeed() >= 20.0f; }, 10.0);
    ASSERT_LT(toTwenty, 10.0);

    pedals.set(Car::ACCELERATE, false);
    pedals.set(Car::BRAKE, true);
    const glm::vec3 from = car->getPosition();
    const float heading = headingOf(*car);
    float slowestWheel = 1.0f; // the slowest wheel's rim speed over the car's speed
    const double stopping =
        runUntil([&] { return car->getForwardSpeed() < 0.1f; }, 10.0,
                 [&] {
                     const float speed = car->getForwardSpeed();
                     if (speed > 3.0f) {
                         for (const Game::WheelPtr& wheel : car->getWheels()) {
                             const Physics::WheelShape& shape = *wheel->getShape();
                             slowestWheel = std::min(slowestWheel, shape.getAxleSpeed() *
                                                                       shape.getRadius() / speed);
                         }
                     }
                 });
    const float distance = groundDistance(car->getPosition(), from);
    EXPECT_LT(stopping, 10.0);
    EXPECT_LT(distance, 25.0f);
    EXPECT_GT(slowestWheel, 0.7f) << "no wheel locks";
    EXPECT_NEAR(headingOf(*car), heading, 3.0f) << "stops in a straight line";
    std::printf("[ figures  ] 0 to 15 in %.2f s; from 20 stopped in %.1f units, %.2f s\n",
                toFifteen, distance, stopping);

    // Held on while standing, the brake key drives backwards, slowly.
    float fastestBack = 0.0f;
    run(3.0, [&] { fastestBack = std::min(fastestBack, car->getForwardSpeed()); });
    EXPECT_TRUE(car->isReversing());
    EXPECT_LT(fastestBack, -2.0f);
    EXPECT_GT(fastestBack, -car->getTuning().reverseTopSpeed - 0.5f);
    // Let go, the car stops and stays.
    pedals.set(Car::BRAKE, false);
    run(1.5);
    EXPECT_FALSE(car->isReversing());
    const glm::vec3 stopped = car->getPosition();
    run(2.0);
    EXPECT_LT(groundDistance(car->getPosition(), stopped), 0.02f);

    // Backing off for a while, a moment to stop, then onto the accelerator: the car
    // drives off at once, the brake built up while reversing does not hold it.
    pedals.set(Car::BRAKE, true);
    run(2.0);
    pedals.set(Car::BRAKE, false);
    run(0.5);
    pedals.set(Car::ACCELERATE, true);
    run(1.0);
    EXPECT_GT(car->getForwardSpeed(), 2.0f);
}

// Full throttle from rest around the track: the gearbox shifts up through its gears,
// so the engine runs over the torque curve instead of idling, and the car reaches 28
// units a second on the back straight; it shifts down as the car slows.
TEST_F(CarHandling, TheGearboxSpansTheTorqueCurve) {
    const auto car = addCar("Alice");
    Pedals pedals(*car);
    pedals.set(Car::ACCELERATE, true);
    float at[3] = {0.0f, 0.0f, 0.0f};
    const float speeds[3] = {5.0f, 15.0f, 28.0f};
    std::size_t shifts = 0, gear = 0;
    float highest = 0.0f;
    float fastest = 0.0f;
    double time = 0.0;
    runUntil([&] { return at[2] > 0.0f; }, 70.0,
             [&] {
                 fastest = std::max(fastest, car->getForwardSpeed());
                 time += frame;
                 const float yawRate = car->getActor()->getAngularVelocity().y;
                 pedals.steerToward(std::clamp(
                     2.5f * angleToLine(*car, level->getDrivingLine(), 12.0f) - 0.6f * yawRate,
                     -1.0f, 1.0f));
                 for (int i = 0; i < 3; ++i) {
                     if (at[i] == 0.0f && car->getForwardSpeed() >= speeds[i]) {
                         at[i] = car->getEngineSpeed();
                     }
                 }
                 shifts += car->getGear() != gear ? 1 : 0;
                 gear = car->getGear();
                 highest = std::max(highest, car->getEngineSpeed());
             });
    EXPECT_GE(shifts, 3u);
    EXPECT_GT(at[0], 1800.0f);
    EXPECT_GT(at[1], 3000.0f);
    EXPECT_GT(at[2], 4000.0f) << "reaches 28 u/s";
    EXPECT_GT(highest, 5000.0f);
    EXPECT_LT(highest, 6000.0f);
    std::printf(
        "[ figures  ] engine at 5, 15, 28 u/s: %.0f %.0f %.0f rpm; fastest %.1f u/s after %.1f s\n",
        at[0], at[1], at[2], fastest, time);
    // Full braking from top speed, the wheel held straight: the car stops in a straight
    // line, shifting down as it slows.
    pedals.set(Car::ACCELERATE, false);
    pedals.set(Car::BRAKE, true);
    pedals.steerToward(0.0f);
    const glm::vec3 from = car->getPosition();
    const float heading = headingOf(*car);
    runUntil([&] { return car->getForwardSpeed() < 6.0f; }, 10.0);
    EXPECT_LE(car->getGear(), 1u) << "shifted down";
    runUntil([&] { return car->getForwardSpeed() < 0.1f; }, 10.0);
    const float distance = groundDistance(car->getPosition(), from);
    EXPECT_LT(distance, 50.0f);
    EXPECT_NEAR(headingOf(*car), heading, 5.0f) << "stops in a straight line";
    std::printf("[ figures  ] from 28 u/s stopped in %.1f units\n", distance);
}

// Tapping the accelerator half the time holds a middling speed; the drive follows
// the share of time the key is down.
TEST_F(CarHandling, ATappedAcceleratorHoldsAMiddlingSpeed) {
    const auto car = addCar("Alice");
    Pedals pedals(*car);
    double time = 0.0;
    float speedAfterFive = 0.0f;
    run(5.0, [&] {
        time += frame;
        pedals.set(Car::ACCELERATE, std::fmod(time, 0.5) < 0.25);
    });
    speedAfterFive = car->getForwardSpeed();
    EXPECT_GT(car->getThrottle(), 0.25f);
    EXPECT_LT(car->getThrottle(), 0.75f);
    EXPECT_GT(speedAfterFive, 6.0f);
    pedals.set(Car::ACCELERATE, false);
    // The same five seconds at full throttle go clearly faster.
    build(3);
    const auto full = addCar("Bob");
    Pedals floor(*full);
    floor.set(Car::ACCELERATE, true);
    run(5.0);
    EXPECT_LT(speedAfterFive, 0.9f * full->getForwardSpeed());
    EXPECT_GT(speedAfterFive, 0.4f * full->getForwardSpeed());
    std::printf("[ figures  ] after 5 s: tapped half the time %.1f u/s, held %.1f u/s\n",
                speedAfterFive, full->getForwardSpeed());
}

// At full lock the car circles as its wheelbase and 30 degrees of lock say (about 9.2
// units across at walking pace); at 10 its grip widens the circle, and it neither rolls
// over nor spins.
TEST_F(CarHandling, TurningCircleFollowsWheelbaseAndLock) {
    const float expected[2] = {9.2f, 12.5f};
    const float speeds[2] = {5.0f, 10.0f};
    for (int i = 0; i < 2; ++i) {
        build(3);
        const auto car = addCar("Alice");
        Pedals pedals(*car);
        car->placeAt({1, 1, 35.0f, 66.0f, 90.0f}); // the level start grid
        pedals.set(Car::ACCELERATE, true);
        runUntil([&] { return car->getForwardSpeed() >= speeds[i]; }, 10.0);
        pedals.set(Car::STEER_LEFT, true);
        run(2.0, [&] { pedals.holdSpeed(speeds[i]); });
        // The widest distance between two points of one full circle.
        std::vector<glm::vec3> path;
        float lowestUp = 1.0f;
        run(6.0, [&] {
            pedals.holdSpeed(speeds[i]);
            path.push_back(car->getPosition());
            lowestUp = std::min(lowestUp, upOf(*car));
        });
        float across = 0.0f;
        for (const glm::vec3& a : path) {
            for (std::size_t j = 0; j < path.size(); j += 4) {
                across = std::max(across, groundDistance(a, path[j]));
            }
        }
        SCOPED_TRACE(speeds[i]);
        EXPECT_GT(lowestUp, 0.9f);
        EXPECT_GT(car->getForwardSpeed(), speeds[i] * 0.7f);
        EXPECT_NEAR(across, expected[i], expected[i] * 0.15f);
        std::printf("[ figures  ] turning circle at %.0f u/s: %.1f units\n", speeds[i], across);
    }
}

// From rest straight up the steepest hillside of up to 15 degrees that rises for 10
// units.
TEST_F(CarHandling, ClimbsAHillsideFromRest) {
    const float steepest = 10.0f * std::tan(15.0f * degrees);
    glm::vec3 foot(0.0f);
    glm::vec2 uphill(0.0f);
    float rise = 0.0f;
    for (float z = 20.0f; z <= 236.0f; z += 2.0f) {
        for (float x = 20.0f; x <= 236.0f; x += 2.0f) {
            const float h = ground(x, z);
            const glm::vec2 gradient(ground(x + 1.0f, z) - h, ground(x, z + 1.0f) - h);
            if (glm::length(gradient) < 0.1f || h < 2.5f) {
                continue;
            }
            const glm::vec2 d = glm::normalize(gradient);
            const float r = ground(x + 10.0f * d.x, z + 10.0f * d.y) - h;
            const float half = ground(x + 5.0f * d.x, z + 5.0f * d.y) - h;
            if (r > rise && r < steepest && half > 0.4f * r) {
                rise = r;
                foot = {x, h, z};
                uphill = d;
            }
        }
    }
    ASSERT_GT(rise, 2.0f); // steeper than 11 degrees
    const auto car = addCar("Alice");
    car->placeAt({1, 1, foot.x, foot.z, std::atan2(uphill.x, uphill.y) / degrees});
    run(2.0);
    const glm::vec3 start = car->getPosition();
    EXPECT_LT(std::fabs(car->getForwardSpeed()), 0.05f);
    Pedals pedals(*car);
    pedals.set(Car::ACCELERATE, true);
    float highest = start.y;
    run(6.0, [&] { highest = std::max(highest, car->getPosition().y); });
    EXPECT_GT(highest - start.y, 0.9f * rise);
    EXPECT_GT(upOf(*car), 0.9f);
}

} // namespace
