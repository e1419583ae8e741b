#pragma once

#include "Physics/ShapeDesc.h"
#include "Physics/Types.h"

#include <limits>
#include <string>
#include <vector>

namespace Physics {

// The dynamic part of an actor. A zero mass-space inertia means: compute the centre of
// mass and the inertia from the shapes (massLocalPose is then ignored). Bullet honours
// mass, inertia, velocities, damping, the disable-gravity flag, the sleep velocities
// (negative: the SDK's defaults) and a zero wake-up counter (created asleep). It has no
// per-body solver iteration count (the world solves with 10), maximum angular velocity,
// CCD threshold, sleep energy or contact report threshold; those are kept but unused.
struct BodyDesc {
    Mat34 massLocalPose;
    Vec3 massSpaceInertia{0.0f};
    float mass = 0.0f;
    Vec3 linearVelocity{0.0f};
    Vec3 angularVelocity{0.0f};
    float wakeUpCounter = 0.4f;
    float linearDamping = 0.0f;
    float angularDamping = 0.05f;
    // Air drag of a body on wheels: it slows by airDrag * v^2 (per unit of length). It
    // is what limits a car's top speed; bodies without wheels ignore it.
    float airDrag = 0.0f;
    float maxAngularVelocity = -1.0f;
    float CCDMotionThreshold = 0.0f;
    std::uint32_t flags = BF_VISUALIZATION | BF_ENERGY_SLEEP_TEST;
    float sleepLinearVelocity = -1.0f;
    float sleepAngularVelocity = -1.0f;
    std::uint32_t solverIterationCount = 4;
    float sleepEnergyThreshold = -1.0f;
    float sleepDamping = 0.0f;
    float contactReportThreshold = std::numeric_limits<float>::max();

    void setToDefault() { *this = BodyDesc(); }
    bool isValid() const;
};

// Describes an actor: static when body is null, dynamic otherwise. The shape
// descriptions are not owned; they are read once when the actor is created.
struct ActorDesc {
    Mat34 globalPose;
    const BodyDesc* body = nullptr;
    float density = 0.0f;
    std::vector<ShapeDesc*> shapes;
    std::string name;
    std::uint32_t flags = 0;
    std::uint16_t group = 0;

    void setToDefault() { *this = ActorDesc(); }
    // A static actor needs at least one shape and holds no wheel; a dynamic actor has
    // a valid body, no height field, and its mass from exactly one of body mass and
    // density. Every shape description must be valid.
    bool isValid() const;
};

} // namespace Physics
