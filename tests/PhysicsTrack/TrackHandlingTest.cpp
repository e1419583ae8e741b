// The game's car on the generated Test Track: built from the jeep model with the game's
// wheel values, driven with the game's control ramps by pressing its keys.
#include "TrackRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace Physics;
using namespace TrackRig;

namespace {

constexpr float frame = 1.0f / 60.0f;

class TrackHandling : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.ground().isValid()) << "GroundHeightmap.jpg not generated";
        ASSERT_EQ(JeepGeometry::load().wheels.size(), 4u) << "jeep1_xsi.dae not generated";
    }

    // Runs until the condition holds or the time is up; returns the time taken.
    float runUntil(const std::function<bool()>& done, float limit) {
        float time = 0.0f;
        while (!done() && time < limit) {
            session.frame(frame);
            time += frame;
        }
        return time;
    }

    Session session;
};

float horizontalDistance(const Vec3& a, const Vec3& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

} // namespace

TEST_F(TrackHandling, CarsStandStillOnTheirWheelsAtTheStartPositions) {
    std::vector<Jeep*> cars;
    for (const TrackPoint& start : startPositions()) {
        cars.push_back(&session.addCar(start));
    }
    session.run(1.0f);
    std::vector<Vec3> settled;
    for (const Jeep* car : cars) {
        settled.push_back(car->position());
    }
    session.run(30.0f);
    for (std::size_t i = 0; i < cars.size(); ++i) {
        const Jeep& car = *cars[i];
        SCOPED_TRACE(startPositions()[i].x);
        EXPECT_LT(glm::length(car.position() - settled[i]), 0.01f);
        EXPECT_EQ(car.wheelsOnGround(), 4);
        EXPECT_GT(car.forward().x, 0.999f); // heading 90: facing +x
        EXPECT_NEAR(car.position().y, session.ground().surface(car.position().x, car.position().z),
                    0.05f);
    }
}

TEST_F(TrackHandling, AcceleratesToFifteenInUnderFourSecondsAndBrakesFromTwentyWithinThirty) {
    Jeep& car = session.addCar(startPositions()[2]);
    session.run(0.5f);
    car.press(Jeep::ACCELERATE);
    const float toFifteen = runUntil([&] { return car.forwardSpeed() >= 15.0f; }, 10.0f);
    EXPECT_LT(toFifteen, 4.0f);
    runUntil([&] { return car.forwardSpeed() >= 20.0f; }, 10.0f);
    ASSERT_GE(car.forwardSpeed(), 20.0f);
    // The game's keys: releasing the accelerator and pressing the brake.
    car.release(Jeep::ACCELERATE);
    car.press(Jeep::BRAKE);
    const Vec3 braking = car.position();
    const float stopping = runUntil([&] { return car.forwardSpeed() < 0.01f; }, 10.0f);
    const float distance = horizontalDistance(car.position(), braking);
    EXPECT_LT(distance, 30.0f);
    EXPECT_GT(car.up().y, 0.99f);
    std::printf("[ figures  ] 0 to 15 in %.2f s; from 20 stopped in %.1f units, %.2f s\n",
                toFifteen, distance, stopping);
}

// The released accelerator returns to rest in 0.8 s; the drive fades with it.
TEST_F(TrackHandling, ReleasedThrottleDrivesLessAsItReturns) {
    Session held;
    Jeep& released = session.addCar(startPositions()[2]);
    Jeep& holding = held.addCar(startPositions()[2]);
    for (Jeep* car : {&released, &holding}) {
        car->press(Jeep::ACCELERATE);
    }
    const auto both = [&] {
        session.frame(frame);
        held.frame(frame);
    };
    while (released.forwardSpeed() < 20.0f) {
        both();
    }
    released.release(Jeep::ACCELERATE);
    const float start = released.forwardSpeed();
    float fastest = start;
    for (int i = 0; i < 48; ++i) {
        both();
        fastest = std::max(fastest, released.forwardSpeed());
    }
    EXPECT_LT(fastest - start, 0.6f * (holding.forwardSpeed() - start));
    EXPECT_LT(released.forwardSpeed(), fastest); // slowing before the throttle is back at 0
}

TEST_F(TrackHandling, FullLockAtTenCirclesWithoutRollingOver) {
    Jeep& car = session.addCar(startPositions()[0]);
    car.press(Jeep::ACCELERATE);
    runUntil([&] { return car.forwardSpeed() >= 10.0f; }, 10.0f);
    car.press(Jeep::LEFT);
    const Vec3 start = car.position();
    float lowestUp = 1.0f;
    float widest = 0.0f;
    session.run(10.0f, [&] {
        // Holds about 10 with the accelerator.
        if (car.forwardSpeed() < 10.0f && !car.isHeld(Jeep::ACCELERATE)) {
            car.press(Jeep::ACCELERATE);
        } else if (car.forwardSpeed() >= 10.0f && car.isHeld(Jeep::ACCELERATE)) {
            car.release(Jeep::ACCELERATE);
        }
        lowestUp = std::min(lowestUp, car.up().y);
        widest = std::max(widest, horizontalDistance(car.position(), start));
    });
    EXPECT_GT(lowestUp, 0.9f);
    EXPECT_EQ(car.wheelsOnGround(), 4);
    EXPECT_GT(car.forwardSpeed(), 5.0f);
    EXPECT_LT(widest, 30.0f); // it goes round instead of running away
}

// From rest straight up the steepest hillside of up to 15 degrees that rises for 10 units.
TEST_F(TrackHandling, ClimbsAHillsideFromRest) {
    const TrackGround& ground = session.ground();
    const float steepest = 10.0f * std::tan(15.0f * 3.14159265f / 180.0f);
    Vec3 foot(0.0f);
    Vec3 uphill(0.0f);
    float rise = 0.0f;
    for (float z = 20.0f; z <= 236.0f; z += 2.0f) {
        for (float x = 20.0f; x <= 236.0f; x += 2.0f) {
            const float h = ground.surface(x, z);
            const Vec3 gradient(ground.surface(x + 1.0f, z) - h, 0.0f,
                                ground.surface(x, z + 1.0f) - h);
            if (glm::length(gradient) < 0.1f) {
                continue;
            }
            const Vec3 d = glm::normalize(gradient);
            const float r = ground.surface(x + 10.0f * d.x, z + 10.0f * d.z) - h;
            const float half = ground.surface(x + 5.0f * d.x, z + 5.0f * d.z) - h;
            if (r > rise && r < steepest && half > 0.4f * r) {
                rise = r;
                foot = Vec3(x, 0.0f, z);
                uphill = d;
            }
        }
    }
    ASSERT_GT(rise, 2.0f); // steeper than 11 degrees
    const float heading = std::atan2(uphill.x, uphill.z) * 180.0f / 3.14159265f;
    Jeep& car = session.addCar({foot.x, foot.z, 1, heading});
    car.press(Jeep::BRAKE);
    session.run(3.0f);
    const Vec3 start = car.position();
    EXPECT_LT(car.forwardSpeed(), 0.01f);
    car.release(Jeep::BRAKE);
    car.press(Jeep::ACCELERATE);
    float highest = start.y;
    session.run(6.0f, [&] { highest = std::max(highest, car.position().y); });
    EXPECT_GT(highest - start.y, 0.9f * rise);
    EXPECT_GT(car.up().y, 0.9f);
}

// The first bend after (187, 66) at full throttle: every car stays on its wheels and on
// the ground, also when its driver steers late and it runs wide onto the bank outside.
TEST_F(TrackHandling, FirstBendAtFullThrottleKeepsTheCarsOnTheirWheels) {
    for (const bool late : {false, true}) {
        int upright = 0;
        float farthest = 0.0f;
        for (int i = 0; i < 9; ++i) {
            Session bend;
            TrackPoint start = startPositions()[static_cast<std::size_t>(i % 3)];
            start.z += static_cast<float>(i / 3) - 1.0f;
            Jeep& car = bend.addCar(start);
            Driver& driver = bend.addDriver(car);
            if (late) {
                driver.anticipation = 0.0f;
            }
            RaceLog log(car, driver, bend.ground());
            bend.run(20.0f, [&] {
                log.record(frame);
                farthest = std::max(farthest, driver.offRoad());
            });
            upright += log.lowestUp > 0.7f ? 1 : 0;
            SCOPED_TRACE(i);
            EXPECT_GE(log.checkpointsPassed, 3); // through the bend to (224, 150)
            EXPECT_GT(log.lowestClearance, -0.2f);
            if (!late) {
                EXPECT_GT(log.lowestUp, 0.9f);
                EXPECT_LT(log.longestAirborne, 0.1f);
                EXPECT_GT(log.topSpeed, 24.0f);
            }
        }
        if (late) {
            EXPECT_GT(farthest, 16.0f); // onto the bank beyond the level ground
            EXPECT_GE(upright, 8);
        } else {
            EXPECT_EQ(upright, 9);
        }
    }
}

TEST_F(TrackHandling, FullThrottleLapsNeitherFlipNorFlyNorFallThrough) {
    for (const TrackPoint& start : startPositions()) {
        Session race;
        Jeep& car = race.addCar(start);
        RaceLog log(car, race.addDriver(car), race.ground());
        race.run(110.0f, [&] { log.record(frame); });
        SCOPED_TRACE(start.x);
        ASSERT_GE(log.lapTimes.size(), 3u);
        for (const float lap : log.lapTimes) {
            EXPECT_GT(lap, 25.0f);
            EXPECT_LT(lap, 45.0f);
        }
        EXPECT_GT(log.lowestUp, 0.7f);
        // The road is driven on the ground; where the car runs wide into the hills at the
        // last hairpin it may jump, but only briefly.
        EXPECT_LT(log.airborneOnRoad, 0.1f);
        EXPECT_LT(log.longestAirborne, 0.8f);
        EXPECT_LT(log.airborne / static_cast<float>(log.lapTimes.size()), 1.0f);
        EXPECT_GT(log.lowestClearance, -0.2f);
        EXPECT_GT(log.topSpeed, 20.0f);
        EXPECT_LT(log.topSpeed, 40.0f);
        std::printf("[ figures  ] from x = %.0f: laps", start.x);
        for (const float lap : log.lapTimes) {
            std::printf(" %.2f", lap);
        }
        std::printf(" s; top speed %.1f; airborne %.2f s (%.2f s on the road), longest %.2f s\n",
                    log.topSpeed, log.airborne, log.airborneOnRoad, log.longestAirborne);
    }
}
