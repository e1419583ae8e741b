#pragma once

// A rig for the physics layer on the generated Test Track: the ground as the game's
// terrain builds it from GroundHeightmap.jpg, and the game's car built from the
// generated jeep model (read through the game's model loader) with the game's wheel
// values, control ramps and torque curve, driven by pressing and releasing its keys.

#include "common/TrackLayout.h"
#include "tests/Physics/PhysicsFixtures.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Data {
class Image;
}

namespace TrackRig {

// A checkpoint or start position: centre, half sizes a = b and heading in degrees
// (90 faces +x). A car is at the point within sqrt(a^2 + b^2) of its centre.
struct TrackPoint {
    float x, z;
    float halfSize;
    float heading;

    float reach() const { return halfSize * 1.41421356f; }
};
const std::vector<TrackPoint>& checkpoints();
const std::vector<TrackPoint>& startPositions();

// Points the file layer at the generated data beside the programs.
void useGameData();

// The Test Track's ground: the terrain's height rule read from the generated height
// map, sampled at the 26 x 26 grid vertices of a 256 x 256 terrain.
class TrackGround {
public:
    static constexpr int gridVertices = 26;
    static constexpr float size = 256.0f;
    static constexpr float heightScale = 20.0f;

    TrackGround();
    bool isValid() const;
    // The pixel rule: the pixel at (x, z) scaled to the image, (r + g + b) / 765 x 20.
    float height(float x, float z) const;
    // The collision surface between the grid vertices, as the physics sees it.
    float surface(float x, float z) const;
    // The terrain's static actor: height field in hundredths and four walls.
    Physics::Actor* create(Physics::Scene& scene) const;

private:
    std::shared_ptr<Data::Image> map;
    std::array<float, gridVertices * gridVertices> grid{}; // row by row, x fastest
};

// What the car takes from the jeep model: the box fitted to the "body" node's meshes,
// and for each wheel node the translation of its local matrix and half the height of
// its bounding box.
struct JeepGeometry {
    struct Wheel {
        std::string name;
        Physics::Vec3 mount;
        float radius;
    };
    Physics::Vec3 bodyCentre{0.0f};
    Physics::Vec3 bodyHalfExtents{0.0f};
    std::vector<Wheel> wheels; // "wheelBL", "wheelBR", "wheelFL", "wheelFR"

    // Null geometry (no wheels) when the model cannot be read.
    static const JeepGeometry& load();
};

// A value that moves toward a goal at a limited rate (0 returns to the target,
// 1 drives up to the maximum, 2 down to the minimum).
struct ValueRamp {
    float current, target, minimum, maximum, driveRate, returnRate;
    int mode = 0;

    void update(float dt);
};

// The game's car: mass 3, the jeep's body box, front-wheel drive and steering,
// brakes on all four wheels, and its per-frame control of the wheels.
class Jeep {
public:
    enum Key { ACCELERATE, BRAKE, LEFT, RIGHT, KEY_COUNT };

    Jeep(Physics::Scene& scene, const TrackGround& ground, const TrackPoint& start);

    void press(Key key);
    void release(Key key);
    bool isHeld(Key key) const { return held[key]; }
    // The vehicle's frame update after the physics step: ramps, engine speed from the
    // wheels' mean axle speed, motor torque from the torque curve, brake and steering.
    void update(float dt);

    Physics::Actor& actor() const { return *car.actor; }
    Physics::Vec3 position() const { return car.position(); }
    Physics::Vec3 forward() const { return car.forward(); }
    Physics::Vec3 up() const { return car.up(); }
    float forwardSpeed() const { return car.forwardSpeed(); }
    float steering() const { return steer.current; }
    int wheelsOnGround() const { return car.wheelsInContact(); }

private:
    static float torqueAt(float rpm);

    PhysicsFixtures::Car car;
    std::vector<Physics::WheelShape*> driven;
    std::array<bool, KEY_COUNT> held{};
    ValueRamp throttle{0.0f, 0.0f, 0.0f, 1.0f, 0.8f, 1.25f};
    ValueRamp brake{0.0f, 0.0f, 0.0f, 100.0f, 20.0f, 20.0f};
    ValueRamp steer{0.0f, 0.0f, -1.0f, 1.0f, 1.0f / 1.5f, 4.0f / 3.0f};
};

// Drives a car with its keys: full throttle, steering along the road's direction a
// little ahead and back onto its centre line.
class Driver {
public:
    Driver(const Tools::TrackLayout& road, Jeep& car);

    // Presses and releases the keys for the coming frame.
    void drive();
    // Distance from the car to the road's centre line.
    float offRoad() const { return distance; }

    // How far ahead the driver looks for the road's direction, in seconds at the
    // car's speed: the steering needs time to follow.
    float anticipation = 0.5f;

private:
    void follow();
    void holdOnly(Jeep::Key key);

    const Tools::TrackLayout& road;
    Jeep& car;
    int index = -1;
    float distance = 0.0f;
};

// Watches a car frame by frame: checkpoints in order and laps as the game counts
// them, time with every wheel in the air (on the road and anywhere), tilt, speed and
// falls through the ground.
class RaceLog {
public:
    RaceLog(const Jeep& car, const Driver& driver, const TrackGround& ground)
        : car(car), driver(driver), ground(ground) {}

    void record(float dt);

    int checkpointsPassed = 0;
    std::vector<float> lapTimes;
    float airborne = 0.0f;        // total time with no wheel on the ground
    float airborneOnRoad = 0.0f;  // the part of it over the road
    float longestAirborne = 0.0f; // longest stretch of it
    float lowestUp = 1.0f;        // lowest y of the car's up axis
    float topSpeed = 0.0f;
    float lowestClearance = 1e9f; // lowest height of the car's origin above the ground

private:
    const Jeep& car;
    const Driver& driver;
    const TrackGround& ground;
    int next = 0;
    int last = -1;
    float lapTime = 0.0f;
    float flying = 0.0f;
};

// The Test Track with its ground, cars and their drivers, run frame by frame as the
// game's loop does: keys, physics step, vehicle updates.
class Session {
public:
    Session();

    Jeep& addCar(const TrackPoint& start);
    Driver& addDriver(Jeep& car);

    // One frame of dt seconds; `keys` runs first, after the drivers.
    void frame(float dt, const std::function<void()>& keys = {});
    void run(float seconds, const std::function<void()>& keys = {}, float dt = 1.0f / 60.0f);

    Physics::Scene& scene() const { return *world; }
    const TrackGround& ground() const { return terrain; }
    static const Tools::TrackLayout& road();

private:
    PhysicsFixtures::RecordingStream stream;
    PhysicsFixtures::SdkPtr sdk;
    Physics::Scene* world;
    TrackGround terrain;
    std::vector<std::unique_ptr<Jeep>> cars;
    std::vector<std::unique_ptr<Driver>> drivers;
};

} // namespace TrackRig
