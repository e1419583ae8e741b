#pragma once

#include "Game/level/StaticObject.h"

namespace Game {

// An obstacle moved by the physics: a static object with a mass and a rigid body,
// whose model follows its actor every frame.
class DynamicObject : public StaticObject {
public:
    explicit DynamicObject(const std::string& name);

    Physics::Actor* createActor() override;
    virtual bool createDynamic(Level* owner, const Data::SGNodePtr& model, const ObjectDesc& desc,
                               float bodyMass);
    // Copies the actor's pose onto the object.
    virtual void updateFromActor();
    void update(double dt) override;

    float getMass() const { return mass; }

protected:
    float mass = 0.0f;
    float airDrag = 0.0f; // the body's air drag (Physics::BodyDesc::airDrag)
};

using DynamicObjectPtr = std::shared_ptr<DynamicObject>;

} // namespace Game
