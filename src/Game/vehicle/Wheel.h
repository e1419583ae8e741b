#pragma once

#include "Data/SGNode.h"
#include "Game/vehicle/VehicleDesc.h"
#include "Physics/ShapeDesc.h"

#include <memory>

namespace Physics {
class WheelShape;
}

namespace Game {

// One wheel of a car: its model node, the description of its physics wheel shape
// (mounted where the node sits, radius from the node's height), the shape once the
// car's actor exists, and the angles the node is drawn at.
class Wheel {
public:
    Wheel(const Data::SGNodePtr& node, const WheelDesc& desc);

    Physics::WheelShapeDesc& getShapeDesc() { return shapeDesc; }
    Physics::WheelShape* getShape() const { return shape; }
    void setShape(Physics::WheelShape* value) { shape = value; }
    const Data::SGNodePtr& getNode() const { return node; }

    float getRollAngle() const { return rollAngle; }
    float getSteerAngle() const { return steerAngle; }
    float getMaxSteerNegative() const { return maxSteerNegative; }
    float getMaxSteerPositive() const { return maxSteerPositive; }

    // Moves the node with the shape: suspension, steering and rolling.
    void follow(double dt);

private:
    Data::SGNodePtr node;
    Physics::WheelShapeDesc shapeDesc;
    Physics::WheelShape* shape = nullptr;
    float rollAngle = 0.0f;  // degrees
    float steerAngle = 0.0f; // degrees
    float maxSteerNegative;
    float maxSteerPositive;
};

using WheelPtr = std::shared_ptr<Wheel>;

} // namespace Game
