#pragma once

#include "Physics/PhysicsSDK.h"
#include "Physics/Scene.h"
#include "Physics/WheelShape.h"

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace PhysicsFixtures {

// Records what the layer reports.
class RecordingStream : public Physics::UserOutputStream {
public:
    void reportError(Physics::ErrorCode code, const char* message, const char*, int) override {
        errors.emplace_back(code, message);
    }
    Physics::AssertResponse reportAssertViolation(const char*, const char*, int) override {
        return Physics::AR_CONTINUE;
    }
    void print(const char*) override {}

    std::vector<std::pair<Physics::ErrorCode, std::string>> errors;
};

struct SdkDeleter {
    void operator()(Physics::PhysicsSDK* sdk) const { sdk->release(); }
};
using SdkPtr = std::unique_ptr<Physics::PhysicsSDK, SdkDeleter>;

constexpr float terrainSize = 256.0f;
constexpr int terrainSamples = 26; // 24 columns and rows plus 2, as the game's track
constexpr float terrainHeightScale = 20.0f;

// Builds a terrain actor the way the game's terrain does: height field samples in
// hundredths, written column by column, the corner at the origin, and four walls just
// inside the edges.
Physics::Actor* createTerrain(Physics::Scene& scene,
                              const std::function<float(float, float)>& height, bool walls = true);

// A ground at slope angle (degrees) rising along +x.
inline std::function<float(float, float)> slope(float degrees) {
    const float rise = std::tan(degrees * 3.14159265f / 180.0f);
    return [rise](float x, float) { return 2.0f + rise * x; };
}
inline std::function<float(float, float)> flat(float y = 2.0f) {
    return [y](float, float) { return y; };
}

// A wheel with the game's values (suspension, tire functions, flags, masses) at a
// mount point.
Physics::WheelShapeDesc gameWheel(const Physics::Vec3& mount, float radius,
                                  Physics::MaterialIndex material);

// The test car: a 2 x 1.5 x 4 body (forward +z) of mass 3 on four wheels of radius
// 0.45 with the game's wheel values: wheels 0, 1 rear, 2, 3 front (driven, steered).
struct Car {
    Physics::Actor* actor = nullptr;
    std::vector<Physics::WheelShape*> wheels;

    void setThrottle(float torque) const;
    void setBrake(float torque) const;
    void setSteer(float radians) const;
    Physics::Vec3 position() const { return actor->getGlobalPosition(); }
    Physics::Vec3 forward() const { return actor->getGlobalOrientation()[2]; }
    Physics::Vec3 up() const { return actor->getGlobalOrientation()[1]; }
    float forwardSpeed() const;
    int wheelsInContact() const;
};

// What a test car is built from: a body box (half extents around a centre) and
// wheels of the given radii at their mount points.
struct CarShape {
    struct Wheel {
        Physics::Vec3 mount;
        float radius;
    };
    Physics::Vec3 bodyHalfExtents;
    Physics::Vec3 bodyCentre{0.0f};
    std::vector<Wheel> wheels;
    // The body's own default material; without it the body has the scene's material 0.
    bool bodyMaterial = false;
};

// Creates, in this order, a frictionless material for the wheels, the body's material
// where it has one, and the car actor of mass 3 at the pose: the body box, then a
// gameWheel per mount. The car's wheels are in mount order.
Car assembleCar(Physics::Scene& scene, const CarShape& shape, const Physics::Mat34& pose);

// Places the car with its wheels just above the ground at (x, z), heading along +z
// turned by heading degrees about +y.
Car createCar(Physics::Scene& scene, float x, float z,
              const std::function<float(float, float)>& height, float heading = 0.0f);

// A scene with the game's settings: gravity -9.81, default material friction 0.5.
Physics::Scene* createGameScene(Physics::PhysicsSDK& sdk);

// Runs the scene frame by frame (60 frames per second) for the given time.
void run(Physics::Scene& scene, float seconds, const std::function<void()>& perFrame = {});

} // namespace PhysicsFixtures
