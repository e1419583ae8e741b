#include "Game/vehicle/Wheel.h"

#include "Physics/WheelShape.h"
#include "Tool/LogManager.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

constexpr float twoPi = 6.28f;

} // namespace

Wheel::Wheel(const Data::SGNodePtr& node, const WheelDesc& desc)
    : node(node), maxSteerNegative(desc.maxSteerNegative), maxSteerPositive(desc.maxSteerPositive) {
    if (!node) {
        Tool::LogManager::getInstance().send(
            Tool::Message("Wheel", "Coudln't create Wheel; SceneNode invalid", "", __FILE__,
                          __LINE__, Tool::MT_ERROR));
        return;
    }
    shapeDesc.localPose.t = glm::vec3(node->getTransformation()[3]);
    const Data::BoundingBox box = node->getBoundingBox();
    shapeDesc.radius = (box[4] - box[1]) * 0.5f;
    shapeDesc.suspensionTravel = desc.suspensionTravel;
    shapeDesc.suspension = {desc.spring, desc.damper, desc.springTarget};
    shapeDesc.longitudalTireForceFunction = {0.5f, 20.0f, 0.75f, 1.75f, 1000000.0f};
    // Sideways the tyre works on its slip angle: full grip up to about 2 degrees, sliding
    // from 8, so the steered front tyres of a car in a fast bend grip as the rear ones do.
    shapeDesc.lateralTireForceFunction = {0.04f, 1.6f, 0.14f, 1.25f, 1000000.0f};
    shapeDesc.wheelFlags = Physics::WF_INPUT_LNG_SLIPVELOCITY | Physics::WF_CLAMPED_FRICTION;
    shapeDesc.mass = 20.0f;
    shapeDesc.inverseWheelMass = desc.inverseWheelMass;
    shapeDesc.motorTorque = 0.0f;
    shapeDesc.brakeTorque = 0.0f;
    shapeDesc.steerAngle = 0.0f;
}

void Wheel::follow(double dt) {
    if (shape == nullptr) {
        return;
    }
    rollAngle += shape->getAxleSpeed() * static_cast<float>(dt) * 360.0f / twoPi;
    while (rollAngle >= 360.0f) {
        rollAngle -= 360.0f;
    }
    steerAngle = shape->getSteerAngle() * 360.0f / twoPi;
    Physics::WheelContactData contact;
    const float radius = shape->getRadius();
    const float offset = shape->getContact(contact) != nullptr
                             ? contact.contactPosition
                             : radius + shape->getSuspensionTravel();
    const glm::vec3 mount = shape->getLocalPosition();
    const glm::vec3 position(mount.x, mount.y - offset + radius, mount.z);
    node->setTransformation(
        glm::translate(glm::mat4(1.0f), position) *
        glm::rotate(glm::mat4(1.0f), glm::radians(steerAngle), glm::vec3(0, 1, 0)) *
        glm::rotate(glm::mat4(1.0f), glm::radians(rollAngle), glm::vec3(1, 0, 0)));
}

} // namespace Game
