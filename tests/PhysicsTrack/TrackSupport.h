#pragma once

// The real Test Track built headless (physics only, no window) with the game's own
// cars, driven through their five controls as a player or a computer driver does.

#include "Game/level/Level.h"
#include "Game/level/TestTrackLayout.h"
#include "Game/vehicle/VehicleDesc.h"
#include "Game/vehicle/VehicleObject.h"
#include "Physics/Actor.h"
#include "Physics/PhysicsSDK.h"
#include "Physics/WheelShape.h"
#include "System/File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

namespace TrackTest {

constexpr double frame = 1.0 / 60.0;
constexpr float degrees = 3.14159265f / 180.0f;

using Car = Game::VehicleObject;
using Function = Game::VehicleObject::Function;

inline glm::vec3 forwardOf(const Car& car) {
    return car.getRotation() * glm::vec3(0.0f, 0.0f, 1.0f);
}
inline float upOf(const Car& car) {
    return (car.getRotation() * glm::vec3(0.0f, 1.0f, 0.0f)).y;
}
// Heading in degrees as the track's points give it (90 faces +x).
inline float headingOf(const Car& car) {
    const glm::vec3 f = forwardOf(car);
    return std::atan2(f.x, f.z) / degrees;
}
inline float groundDistance(const glm::vec3& a, const glm::vec3& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}
inline int wheelsOnGround(const Car& car) {
    int count = 0;
    for (const Game::WheelPtr& wheel : car.getWheels()) {
        Physics::WheelContactData contact;
        count += wheel->getShape()->getContact(contact) != nullptr ? 1 : 0;
    }
    return count;
}

// A level of the Test Track on its own physics SDK.
class Track : public ::testing::Test {
protected:
    struct SdkRelease {
        void operator()(Physics::PhysicsSDK* sdk) const { sdk->release(); }
    };

    void SetUp() override { build(3); }

    void build(unsigned laps) {
        level.reset();
        System::File::init(std::string(BRUMBLY_BIN_DIR) + "/test");
        sdk.reset(Physics::createPhysicsSDK(Physics::SDK_VERSION, nullptr));
        sdk->setParameter(Physics::P_SKIN_WIDTH, 0.005f);
        level = std::make_unique<Game::Level>(sdk.get());
        ASSERT_TRUE(level->buildTestTrack(laps)) << "the generated game data is missing";
    }

    // A car at the next start position; `difficulty` makes it a computer driver's.
    std::shared_ptr<Car> addCar(const std::string& name, int difficulty = -1) {
        Data::Control control;
        control.aiEnabled = difficulty >= 0;
        control.aiDifficulty = static_cast<std::uint32_t>(std::max(difficulty, 0));
        auto car = level->createVehicleObject(Game::describePlayerCar(name, control), {0, 0, 255});
        EXPECT_TRUE(car);
        return car;
    }

    float ground(float x, float z) const { return level->getTerrain()->getHeight(x, z); }
    float heightAboveGround(const Car& car) const {
        const glm::vec3 p = car.getPosition();
        return p.y - ground(p.x, p.z);
    }

    // Steps the level frame by frame until `done` holds or `limit` seconds have run;
    // returns the seconds run.
    double runUntil(const std::function<bool()>& done, double limit,
                    const std::function<void()>& perFrame = {}) {
        double time = 0.0;
        while (!done() && time < limit) {
            if (perFrame) {
                perFrame();
            }
            level->update(frame);
            time += frame;
        }
        return time;
    }
    void run(double seconds, const std::function<void()>& perFrame = {}) {
        runUntil([] { return false; }, seconds, perFrame);
    }

    // Stands the car at (x, z) facing `heading` and sends it off at `speed` along it,
    // its wheels turning with the ground.
    void launch(Car& car, float x, float z, float heading, float speed) {
        car.placeAt({1, 1, x, z, heading});
        car.getActor()->setLinearVelocity(forwardOf(car) * speed);
        for (const Game::WheelPtr& wheel : car.getWheels()) {
            wheel->getShape()->setAxleSpeed(speed / wheel->getShape()->getRadius());
        }
    }

    std::unique_ptr<Physics::PhysicsSDK, SdkRelease> sdk;
    std::unique_ptr<Game::Level> level;
};

// Holds the car's functions, sending only the changes, as a keyboard does.
class Pedals {
public:
    explicit Pedals(Car& car) : car(car) {}
    ~Pedals() {
        for (int f = 0; f < 5; ++f) {
            set(static_cast<Function>(f), false);
        }
    }
    void set(Function function, bool pressed) {
        if (held[function] != pressed) {
            held[function] = pressed;
            car.setFunction(function, pressed);
        }
    }
    bool isHeld(Function function) const { return held[function]; }
    // Presses left or right toward the wanted steering (-1..1), as a player taps keys.
    void steerToward(float wanted) {
        const float steering = car.getSteeringRamp().current;
        const bool left = wanted > 0.02f && steering < wanted;
        const bool right = wanted < -0.02f && steering > wanted;
        if (!left) {
            set(Car::STEER_LEFT, false);
        }
        if (!right) {
            set(Car::STEER_RIGHT, false);
        }
        set(Car::STEER_LEFT, left);
        set(Car::STEER_RIGHT, right);
    }
    // Holds the accelerator while slower than `speed`.
    void holdSpeed(float speed) { set(Car::ACCELERATE, car.getForwardSpeed() < speed); }

private:
    Car& car;
    bool held[5] = {};
};

// The angle, seen from the car, to the point `ahead` further along the driving line
// than the line's point nearest the car (positive to the left).
inline float angleToLine(const Car& car, const Game::DrivingLine& line, float ahead) {
    const glm::vec3 p = car.getPosition();
    const glm::vec2 target = line.pointAhead(line.nearest({p.x, p.z}).index, ahead);
    const glm::vec3 local =
        glm::inverse(car.getRotation()) * (glm::vec3(target.x, p.y, target.y) - p);
    return std::atan2(local.x, local.z);
}

} // namespace TrackTest
