#include "Physics/ShapeDesc.h"

namespace Physics {

bool ShapeDesc::isValid() const {
    return density > 0.0f || mass > 0.0f;
}

bool BoxShapeDesc::isValid() const {
    return ShapeDesc::isValid() && dimensions.x >= 0.0f && dimensions.y >= 0.0f &&
           dimensions.z >= 0.0f;
}

bool HeightFieldShapeDesc::isValid() const {
    return heightField != nullptr && heightScale > 0.0f && rowScale > 0.0f && columnScale > 0.0f;
}

bool WheelShapeDesc::isValid() const {
    return ShapeDesc::isValid() && radius > 0.0f && suspensionTravel >= 0.0f &&
           suspension.spring >= 0.0f && suspension.damper >= 0.0f &&
           suspension.targetValue >= 0.0f && suspension.targetValue <= 1.0f &&
           inverseWheelMass > 0.0f && brakeTorque >= 0.0f && tuning.fullDriveTorque > 0.0f &&
           tuning.maxLongitudalFriction >= 0.0f && tuning.maxLateralFriction >= 0.0f &&
           tuning.antiLockShare >= 0.0f && longitudalTireForceFunction.isValid() &&
           lateralTireForceFunction.isValid();
}

} // namespace Physics
