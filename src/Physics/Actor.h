#pragma once

#include "Physics/ActorDesc.h"
#include "Physics/Shape.h"

#include <memory>
#include <string>
#include <vector>

namespace Physics {

class Scene;
class WheelShape;
struct ActorBody;

// A static or dynamic object of a scene, made of shapes. Created and released by its
// scene. The actor's pose is its frame; a dynamic actor's centre of mass lies where
// its body description or its shapes put it.
class Actor {
public:
    ~Actor();
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    Scene& getScene() const { return scene; }
    const std::string& getName() const { return name; }
    void setName(const std::string& value) { name = value; }
    bool isDynamic() const;

    Mat34 getGlobalPose() const;
    void setGlobalPose(const Mat34& pose);
    // The pose to draw: for a dynamic actor, between its poses after the scene's last
    // two sub-steps, by the part of a sub-step the scene carries to its next simulate()
    // (so one sub-step behind, but smooth at any frame rate); the global pose otherwise.
    // A pose set since the last sub-step is taken as it is.
    Mat34 getInterpolatedGlobalPose() const;
    Vec3 getGlobalPosition() const { return getGlobalPose().t; }
    void setGlobalPosition(const Vec3& position);
    Mat33 getGlobalOrientation() const { return getGlobalPose().M; }
    void setGlobalOrientation(const Mat33& orientation);

    // Dynamic actors only; static actors report zero and ignore the setters.
    float getMass() const;
    Vec3 getMassSpaceInertiaTensor() const;
    Mat34 getCMassLocalPose() const;
    Vec3 getCMassGlobalPosition() const;
    Vec3 getLinearVelocity() const;
    void setLinearVelocity(const Vec3& velocity);
    Vec3 getAngularVelocity() const;
    void setAngularVelocity(const Vec3& velocity);
    Vec3 getLinearMomentum() const;
    void setLinearMomentum(const Vec3& momentum);
    Vec3 getAngularMomentum() const;
    void setAngularMomentum(const Vec3& momentum);
    void wakeUp(float wakeCounterValue = 0.4f);
    void putToSleep();
    bool isSleeping() const;

    std::uint32_t getNbShapes() const { return static_cast<std::uint32_t>(shapes.size()); }
    Shape* getShape(std::uint32_t index) const {
        return index < shapes.size() ? shapes[index].get() : nullptr;
    }

    // Bullet side of the actor, for the layer's own use.
    ActorBody& getBody() const { return *body; }
    const std::vector<WheelShape*>& getWheels() const { return wheels; }

private:
    friend class Scene;
    Actor(Scene& scene, const ActorDesc& desc);

    Scene& scene;
    std::string name;
    std::vector<std::unique_ptr<Shape>> shapes;
    std::vector<WheelShape*> wheels;
    std::unique_ptr<ActorBody> body;
};

} // namespace Physics
