#pragma once

#include "Physics/TireFunctionDesc.h"
#include "Physics/Types.h"

#include <string>

namespace Physics {

class HeightField;

// What every shape description holds. A shape's mass, when positive, weighs it in
// the distribution of its actor's mass; otherwise its density times its volume does.
class ShapeDesc {
public:
    virtual ~ShapeDesc() = default;

    ShapeType getType() const { return type; }
    virtual bool isValid() const;

    Mat34 localPose;
    std::uint32_t shapeFlags = 0;
    std::uint16_t group = 0;
    MaterialIndex materialIndex = 0;
    float mass = -1.0f;
    float density = 1.0f;
    float skinWidth = -1.0f;
    std::string name;

protected:
    explicit ShapeDesc(ShapeType type) : type(type) {}
    ShapeDesc(const ShapeDesc&) = default;
    ShapeDesc& operator=(const ShapeDesc&) = default;

private:
    ShapeType type;
};

class BoxShapeDesc : public ShapeDesc {
public:
    BoxShapeDesc() : ShapeDesc(SHAPE_BOX) {}
    bool isValid() const override;

    Vec3 dimensions{0.0f}; // half extents
};

// A height field placed with its first sample at the shape's origin: sample (row, column)
// lies at x = row * rowScale, z = column * columnScale, y = height * heightScale.
class HeightFieldShapeDesc : public ShapeDesc {
public:
    HeightFieldShapeDesc() : ShapeDesc(SHAPE_HEIGHTFIELD) {}
    bool isValid() const override;

    HeightField* heightField = nullptr;
    float heightScale = 1.0f;
    float rowScale = 1.0f;
    float columnScale = 1.0f;
    MaterialIndex materialIndexHighBits = 0;
    MaterialIndex holeMaterial = 0;
    std::uint32_t meshFlags = 0;
};

// What the car's maker chooses for a wheel's grip and drive. The tyre curves of the
// game ask for far more grip than a car has; these caps bound what they give.
struct WheelTuning {
    // The motor torque that asks for all the traction the tyre has; less asks for the
    // same share of it.
    float fullDriveTorque = 1.0f;
    float maxLongitudalFriction = 1.9f;
    float maxLateralFriction = 1.1f;
    // Anti-lock brakes: the share of the tyre's grip the brake may use (0 turns the
    // limit off, and the brake may lock the wheel).
    float antiLockShare = 0.0f;
    // Without the lateral slip-velocity flag, the tyre's sideways slip is an angle
    // against its rolling speed, taken as at least this speed: at walking pace the
    // angle then grows with the sideways speed alone, so a standing car keeps its
    // static grip instead of sliding at the first tremble.
    float slipAngleFloorSpeed = 0.5f;
};

struct SpringDesc {
    float spring = 0.0f;
    float damper = 0.0f;
    float targetValue = 0.0f;
};

// A raycast wheel: the suspension runs from the shape's origin along its local -y
// axis, the wheel rolls toward its local +z axis, turned about y by the steer angle.
class WheelShapeDesc : public ShapeDesc {
public:
    WheelShapeDesc() : ShapeDesc(SHAPE_WHEEL) {}
    bool isValid() const override;

    float radius = 1.0f;
    float suspensionTravel = 1.0f;
    SpringDesc suspension;
    TireFunctionDesc longitudalTireForceFunction;
    TireFunctionDesc lateralTireForceFunction;
    float inverseWheelMass = 1.0f;
    std::uint32_t wheelFlags = 0;
    float motorTorque = 0.0f;
    float brakeTorque = 0.0f;
    float steerAngle = 0.0f;
    WheelTuning tuning;
};

} // namespace Physics
