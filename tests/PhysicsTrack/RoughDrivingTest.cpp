// The game's car on the real Test Track driven as players drive: into the crates and
// the gate posts, braking hard in a bend, and lapping at full throttle with late,
// coarse and wandering steering.
#include "TrackSupport.h"

#include <cstdio>

using namespace TrackTest;

namespace {

// The worst a run saw: lowest up component, largest height above the ground and the
// longest time with no wheel on the ground.
struct Worst {
    float up = 1.0f;
    float height = 0.0f;
    double airborne = 0.0;
    double flying = 0.0;

    void record(const Car& car, float aboveGround) {
        up = std::min(up, upOf(car));
        height = std::max(height, aboveGround);
        flying = wheelsOnGround(car) == 0 ? flying + frame : 0.0;
        airborne = std::max(airborne, flying);
    }
};

class RoughDriving : public Track {};

TEST_F(RoughDriving, TheCratePyramidHitHeadOnAtTopSpeedScattersWithoutRollingTheCar) {
    using Game::TestTrackLayout::cratesX;
    for (const float speed : {20.0f, 28.0f}) {
        build(3);
        const auto car = addCar("Alice");
        std::vector<std::pair<Game::StaticObjectPtr, float>> crates;
        for (const auto& [name, object] : level->getObjects()) {
            if (name.find("Crate") != std::string::npos) {
                crates.emplace_back(object, object->getPosition().y);
            }
        }
        ASSERT_EQ(crates.size(), 6u);
        float highestRise = 0.0f;
        launch(*car, cratesX, 14.0f, 0.0f, speed);
        Pedals pedals(*car);
        pedals.set(Car::ACCELERATE, true);
        Worst worst;
        run(3.0, [&] {
            worst.record(*car, heightAboveGround(*car));
            for (const auto& [crate, startHeight] : crates) {
                highestRise = std::max(highestRise, crate->getPosition().y - startHeight);
            }
        });
        SCOPED_TRACE(speed);
        EXPECT_GT(car->getPosition().z, 55.0f) << "through the pyramid";
        EXPECT_GT(worst.up, 0.7f);
        EXPECT_LT(worst.height, 2.0f);
        EXPECT_LT(highestRise, 3.0f) << "no crate flies";
        std::printf(
            "[ figures  ] crates at %.0f u/s: highest rise %.1f units, car lowest up %.2f\n", speed,
            highestRise, worst.up);
    }
}

// Into the boundary walls south of the crates and west of the loop, at the speeds a
// car reaches and at every angle from a graze to head-on, from either side, with the
// accelerator held: the wall stops or deflects the car, which stays upright, near the
// ground and inside the walls.
TEST_F(RoughDriving, WallHitsAtAnyAngleLeaveTheCarUprightOnTheGround) {
    struct Wall {
        const char* name;
        glm::vec2 point;  // on the wall
        glm::vec2 inward; // the wall's normal
    };
    const Wall walls[] = {{"south", {128.0f, 0.0f}, {0.0f, 1.0f}},
                          {"west", {0.0f, 128.0f}, {1.0f, 0.0f}}};
    const auto car = addCar("Alice");
    Pedals pedals(*car);
    pedals.set(Car::ACCELERATE, true);
    for (const Wall& wall : walls) {
        const glm::vec2 along(-wall.inward.y, wall.inward.x);
        for (const float speed : {15.0f, 20.0f, 28.0f}) {
            for (const float incidence : {15.0f, 30.0f, 45.0f, 60.0f, 75.0f, 90.0f}) {
                for (const float side : {-1.0f, 1.0f}) {
                    const float a = incidence * degrees;
                    const glm::vec2 way = -wall.inward * std::sin(a) + along * side * std::cos(a);
                    const glm::vec2 start = wall.point - way * 12.0f;
                    launch(*car, start.x, start.y, std::atan2(way.x, way.y) / degrees, speed);
                    Worst worst;
                    run(3.0, [&] { worst.record(*car, heightAboveGround(*car)); });
                    const glm::vec3 end = car->getPosition();
                    SCOPED_TRACE(std::string(wall.name) + " wall at " + std::to_string(speed) +
                                 " u/s, " + std::to_string(incidence) + " degrees, side " +
                                 std::to_string(side));
                    EXPECT_GT(worst.up, 0.7f) << "upright";
                    EXPECT_LT(worst.height, 2.0f) << "on the ground";
                    EXPECT_TRUE(end.x > 0.0f && end.x < 256.0f && end.z > 0.0f && end.z < 256.0f);
                }
            }
        }
    }
}

// Off the road onto the banks beside every bend, at the speeds a car reaches, 30 and 60
// degrees off the road's way to either side, with the accelerator held: the car may
// lean but never comes near its side, and stays near the ground.
TEST_F(RoughDriving, RunsOntoTheBanksBesideEveryBendLeaveTheCarUprightOnTheGround) {
    const Game::DrivingLine& line = level->getDrivingLine();
    const std::vector<glm::vec2>& points = line.getPoints();
    const std::size_t n = points.size();
    const auto wayAt = [&](std::size_t i) {
        const glm::vec2 d = points[(i + 1) % n] - points[i];
        return std::atan2(d.x, d.y) / degrees;
    };
    const auto car = addCar("Alice");
    Pedals pedals(*car);
    pedals.set(Car::ACCELERATE, true);
    int bends = 0;
    float nextRun = 0.0f;
    float lowestUp = 1.0f;
    for (std::size_t i = 0; i < n; ++i) {
        // A bend: the road's way turns by more than 15 degrees over the next 20 units.
        const std::size_t ahead = line.nearest(line.pointAhead(i, 20.0f)).index;
        float turn = std::fabs(wayAt(ahead) - wayAt(i));
        turn = std::min(turn, 360.0f - turn);
        if (turn < 15.0f || line.distanceAt(i) < nextRun) {
            continue;
        }
        nextRun = line.distanceAt(i) + 10.0f;
        ++bends;
        for (const float off : {-60.0f, -30.0f, 30.0f, 60.0f}) {
            for (const float speed : {15.0f, 20.0f, 28.0f}) {
                launch(*car, points[i].x, points[i].y, wayAt(i) + off, speed);
                Worst worst;
                run(3.0, [&] { worst.record(*car, heightAboveGround(*car)); });
                SCOPED_TRACE("from " + std::to_string(points[i].x) + ", " +
                             std::to_string(points[i].y) + " at " + std::to_string(speed) +
                             " u/s, " + std::to_string(off) + " degrees off the road");
                EXPECT_GT(worst.up, 0.5f) << "upright";
                EXPECT_LT(worst.height, 2.0f) << "on the ground";
                lowestUp = std::min(lowestUp, worst.up);
            }
        }
    }
    EXPECT_GT(bends, 10);
    std::printf("[ figures  ] banks beside %d bends: the most the car leant %.0f degrees\n", bends,
                std::acos(lowestUp) / degrees);
}

// Nose first against the goal's post: holding the brake backs the car off, and it
// drives on through the gate.
TEST_F(RoughDriving, ReverseFreesACarStoppedAgainstAGatePost) {
    const Game::TrackPoint& goal = Game::TestTrackLayout::checkpoints[0];
    const auto car = addCar("Alice");
    const float postZ = goal.z - 7.0f;
    car->placeAt({1, 1, goal.x - 10.0f, postZ, 90.0f});
    Pedals pedals(*car);
    pedals.set(Car::ACCELERATE, true);
    run(4.0);
    pedals.set(Car::ACCELERATE, false);
    ASSERT_LT(car->getPosition().x, goal.x) << "stopped by the post";
    ASSERT_LT(std::fabs(car->getForwardSpeed()), 0.5f);
    const glm::vec3 stuck = car->getPosition();
    pedals.set(Car::BRAKE, true);
    run(2.0);
    pedals.set(Car::BRAKE, false);
    EXPECT_LT(car->getPosition().x, stuck.x - 2.0f) << "backed off the post";
    pedals.set(Car::ACCELERATE, true);
    const double through =
        runUntil([&] { return car->getPosition().x > goal.x + 5.0f; }, 10.0,
                 [&] {
                     pedals.steerToward(std::clamp(
                         2.5f * angleToLine(*car, level->getDrivingLine(), 8.0f), -1.0f, 1.0f));
                 });
    EXPECT_LT(through, 10.0);
}

// Braking hard in a steady bend: the wheels keep turning and the car keeps turning
// the way it is steered instead of sliding straight on.
TEST_F(RoughDriving, BrakingInABendKeepsSteering) {
    const auto car = addCar("Alice");
    launch(*car, 110.0f, 66.0f, 90.0f, 18.0f);
    Pedals pedals(*car);
    pedals.set(Car::ACCELERATE, true);
    pedals.steerToward(0.3f);
    run(0.3, [&] { pedals.steerToward(0.3f); });
    pedals.set(Car::ACCELERATE, false);
    pedals.set(Car::BRAKE, true);
    float slowestWheel = 1.0f;
    float turned = 0.0f;
    float lastHeading = headingOf(*car);
    float lowestUp = 1.0f;
    runUntil([&] { return car->getForwardSpeed() < 2.0f; }, 8.0,
             [&] {
                 pedals.steerToward(0.3f);
                 const float speed = car->getForwardSpeed();
                 for (const Game::WheelPtr& wheel : car->getWheels()) {
                     const Physics::WheelShape& shape = *wheel->getShape();
                     slowestWheel =
                         std::min(slowestWheel, shape.getAxleSpeed() * shape.getRadius() / speed);
                 }
                 float change = headingOf(*car) - lastHeading;
                 change += change > 180.0f ? -360.0f : change < -180.0f ? 360.0f : 0.0f;
                 turned += change;
                 lastHeading = headingOf(*car);
                 lowestUp = std::min(lowestUp, upOf(*car));
             });
    EXPECT_GT(slowestWheel, 0.6f) << "no wheel locks";
    // Left steering turns a car heading +x toward -z: its heading grows.
    EXPECT_GT(turned, 20.0f) << "keeps turning while it brakes";
    EXPECT_GT(lowestUp, 0.9f);
}

// How a player drives: how far ahead it looks, how often it corrects, whether it only
// knows full lock, and how far it wanders from the line.
struct Style {
    const char* name;
    float lookAhead;
    double reaction;
    bool coarse;
    float wander;
    bool keepsToTheRoad; // takes the first bend at full throttle within the road
};

// A family of imperfect drivers at full throttle for three laps each: all finish, none
// turns the car over, flies for long or stays stuck; stuck, they reverse themselves free.
// The tidy one takes the first bend within the road instead of ploughing wide.
TEST_F(RoughDriving, ImperfectDriversLapAtFullThrottle) {
    const float roadHalfWidth = 5.0f;
    const Style styles[] = {{"tidy", 12.0f, 0.0, false, 0.0f, true},
                            {"late", 5.0f, 0.25, false, 0.0f, false},
                            {"coarse", 10.0f, 0.1, true, 0.0f, false},
                            {"wandering", 12.0f, 0.05, false, 9.0f, false}};
    for (const Style& style : styles) {
        build(3);
        const auto car = addCar("Alice");
        const Game::DrivingLine& line = level->getDrivingLine();
        Pedals pedals(*car);
        Worst worst;
        double time = 0.0, sinceLook = 0.0, slowFor = 0.0, reverseFor = 0.0, longestStuck = 0.0;
        float wanted = 0.0f, widestInFirstBend = 0.0f, fastest = 0.0f;
        runUntil([&] { return car->isFinished(); }, 240.0,
                 [&] {
                     time += frame;
                     sinceLook += frame;
                     const glm::vec3 p = car->getPosition();
                     const float fromLine = line.nearest({p.x, p.z}).distance;
                     fastest = std::max(fastest, car->getForwardSpeed());
                     if (p.x > 185.0f && p.z < 120.0f) {
                         widestInFirstBend = std::max(widestInFirstBend, fromLine);
                     }
                     if (sinceLook >= style.reaction) {
                         sinceLook = 0.0;
                         const float offset =
                             style.wander * static_cast<float>(std::sin(time * 0.4));
                         const float angle = angleToLine(*car, line, style.lookAhead) +
                                             std::atan2(offset, style.lookAhead + 4.0f);
                         const float yawRate = car->getActor()->getAngularVelocity().y;
                         wanted = std::clamp(angle * 2.5f - yawRate * 0.6f, -1.0f, 1.0f);
                         if (style.coarse) {
                             wanted = std::abs(wanted) < 0.1f ? 0.0f : std::copysign(1.0f, wanted);
                         }
                     }
                     // Stuck for a second: back off for a second and a half with the wheels
                     // turned the other way.
                     const float speed = std::fabs(car->getForwardSpeed());
                     slowFor = speed < 0.5f && reverseFor <= 0.0 ? slowFor + frame : 0.0;
                     longestStuck = std::max(longestStuck, slowFor);
                     if (slowFor > 1.0) {
                         reverseFor = 1.5;
                     }
                     const bool reversing = reverseFor > 0.0;
                     reverseFor -= frame;
                     pedals.set(Car::ACCELERATE, !reversing);
                     pedals.set(Car::BRAKE, reversing);
                     pedals.steerToward(reversing ? -wanted : wanted);
                     worst.record(*car, heightAboveGround(*car));
                 });
        SCOPED_TRACE(style.name);
        EXPECT_TRUE(car->isFinished()) << "three laps";
        EXPECT_GT(worst.up, 0.3f) << "never on its side or roof";
        EXPECT_LT(worst.airborne, 0.5);
        EXPECT_LT(longestStuck, 5.0);
        if (style.keepsToTheRoad) {
            EXPECT_LE(widestInFirstBend, roadHalfWidth) << "within the road in the first bend";
        }
        std::printf("[ figures  ] %s driver: laps", style.name);
        for (const double lap : car->getLapTimes()) {
            std::printf(" %.1f", lap);
        }
        std::printf(" s; longest flight %.2f s; widest in the first bend %.1f; fastest %.1f u/s; "
                    "%.0f units driven, ends at %.0f, %.0f\n",
                    worst.airborne, widestInFirstBend, fastest, car->getDistanceDriven(),
                    car->getPosition().x, car->getPosition().z);
    }
}

} // namespace
