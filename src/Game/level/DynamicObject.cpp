#include "Game/level/DynamicObject.h"

#include "Physics/Actor.h"
#include "Tool/LogManager.h"

#include <glm/gtc/quaternion.hpp>

namespace Game {

DynamicObject::DynamicObject(const std::string& name) : StaticObject(name) {}

bool DynamicObject::createDynamic(Level* owner, const Data::SGNodePtr& model,
                                  const ObjectDesc& desc, float bodyMass) {
    mass = bodyMass;
    return create(owner, model, desc);
}

Physics::Actor* DynamicObject::createActor() {
    if (level == nullptr) {
        return nullptr;
    }
    Tool::LogManager::getInstance().send(Tool::Message(
        "DynamicObject", "Creating Actor for DynamicObject ..", "", Tool::MT_MESSAGE));
    Physics::BodyDesc body;
    body.mass = mass;
    body.airDrag = airDrag;
    return createActorWith(&body, "DynamicObject", "Coudldn't create PhysX Actor", __LINE__);
}

void DynamicObject::updateFromActor() {
    if (actor == nullptr) {
        return;
    }
    // Drawn between the last two physics sub-steps, so that motion is smooth at any
    // frame rate.
    const Physics::Mat34 pose = actor->getInterpolatedGlobalPose();
    position = pose.t;
    setRotation(glm::normalize(glm::quat_cast(pose.M)));
}

void DynamicObject::update(double) {
    updateFromActor();
}

} // namespace Game
