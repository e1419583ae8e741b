#include "Physics/WheelShape.h"

#include "Physics/BulletBridge.h"

namespace Physics {

WheelShape::WheelShape(Actor& actor, const WheelShapeDesc& desc)
    : Shape(actor, desc, nullptr), radius(desc.radius), suspensionTravel(desc.suspensionTravel),
      suspension(desc.suspension), longitudal(desc.longitudalTireForceFunction),
      lateral(desc.lateralTireForceFunction), inverseWheelMass(desc.inverseWheelMass),
      wheelFlags(desc.wheelFlags), motorTorque(desc.motorTorque), brakeTorque(desc.brakeTorque),
      steerAngle(desc.steerAngle), tuning(desc.tuning) {}

Shape* WheelShape::getContact(WheelContactData& data) const {
    if (contactShape != nullptr) {
        data = contact;
    }
    return contactShape;
}

} // namespace Physics
