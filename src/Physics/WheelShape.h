#pragma once

#include "Physics/Shape.h"
#include "Physics/ShapeDesc.h"

namespace Physics {

// What a wheel touches, from the last simulation sub-step.
struct WheelContactData {
    Vec3 contactPoint{0.0f};
    Vec3 contactNormal{0.0f};
    Vec3 longitudalDirection{0.0f};
    Vec3 lateralDirection{0.0f};
    float contactForce = 0.0f; // suspension and bump-stop force along the normal
    float longitudalSlip = 0.0f;
    float lateralSlip = 0.0f;
    float longitudalImpulse = 0.0f;
    float lateralImpulse = 0.0f;
    MaterialIndex otherShapeMaterialIndex = 0;
    float contactPosition = 0.0f; // distance from the shape's origin to the ground
};

// A raycast wheel on a dynamic actor (see WheelSolver for the model). Torques are in
// N*m (positive drives forward), angles in radians (positive turns toward +x, i.e.
// left when +z is forward), the axle speed in radians per second.
class WheelShape : public Shape {
public:
    WheelShape(Actor& actor, const WheelShapeDesc& desc);

    WheelShape* isWheel() override { return this; }

    float getRadius() const { return radius; }
    void setRadius(float value) { radius = value; }
    float getSuspensionTravel() const { return suspensionTravel; }
    void setSuspensionTravel(float value) { suspensionTravel = value; }
    const SpringDesc& getSuspension() const { return suspension; }
    void setSuspension(const SpringDesc& value) { suspension = value; }
    const TireFunctionDesc& getLongitudalTireForceFunction() const { return longitudal; }
    void setLongitudalTireForceFunction(const TireFunctionDesc& value) { longitudal = value; }
    const TireFunctionDesc& getLateralTireForceFunction() const { return lateral; }
    void setLateralTireForceFunction(const TireFunctionDesc& value) { lateral = value; }
    float getInverseWheelMass() const { return inverseWheelMass; }
    void setInverseWheelMass(float value) { inverseWheelMass = value; }
    std::uint32_t getWheelFlags() const { return wheelFlags; }
    void setWheelFlags(std::uint32_t value) { wheelFlags = value; }
    float getMotorTorque() const { return motorTorque; }
    void setMotorTorque(float value) { motorTorque = value; }
    float getBrakeTorque() const { return brakeTorque; }
    void setBrakeTorque(float value) { brakeTorque = value < 0.0f ? 0.0f : value; }
    float getSteerAngle() const { return steerAngle; }
    void setSteerAngle(float value) { steerAngle = value; }
    const WheelTuning& getTuning() const { return tuning; }
    float getAxleSpeed() const { return axleSpeed; }
    // Sets the wheel's spin; with WF_AXLE_SPEED_OVERRIDE the simulation keeps it.
    void setAxleSpeed(float value) { axleSpeed = value; }

    // The shape under the wheel and the contact details, or null (data untouched)
    // when the wheel is in the air.
    Shape* getContact(WheelContactData& data) const;

private:
    friend class WheelSolver;

    float radius;
    float suspensionTravel;
    SpringDesc suspension;
    TireFunctionDesc longitudal;
    TireFunctionDesc lateral;
    float inverseWheelMass;
    std::uint32_t wheelFlags;
    float motorTorque;
    float brakeTorque;
    float steerAngle;
    WheelTuning tuning;
    float axleSpeed = 0.0f;

    Shape* contactShape = nullptr;
    WheelContactData contact;
};

} // namespace Physics
