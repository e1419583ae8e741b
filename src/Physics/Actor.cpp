#include "Physics/Actor.h"

#include "Physics/BoxShape.h"
#include "Physics/BulletBridge.h"
#include "Physics/HeightFieldShape.h"
#include "Physics/PhysicsSDK.h"
#include "Physics/Scene.h"
#include "Physics/WheelShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Physics {

namespace {

constexpr int staticGroup = btBroadphaseProxy::StaticFilter;
constexpr int staticMask = btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter;

std::unique_ptr<Shape> makeShape(Actor& actor, const ShapeDesc& desc, float skinWidth) {
    switch (desc.getType()) {
    case SHAPE_BOX:
        return std::make_unique<BoxShape>(actor, static_cast<const BoxShapeDesc&>(desc),
                                          desc.skinWidth >= 0.0f ? desc.skinWidth : skinWidth);
    case SHAPE_HEIGHTFIELD:
        return std::make_unique<HeightFieldShape>(actor,
                                                  static_cast<const HeightFieldShapeDesc&>(desc));
    case SHAPE_WHEEL:
    default:
        return std::make_unique<WheelShape>(actor, static_cast<const WheelShapeDesc&>(desc));
    }
}

struct MassProperties {
    float mass = 0.0f;
    btTransform frame = btTransform::getIdentity(); // centre of mass and principal axes
    btVector3 inertia{0, 0, 0};
};

// Distributes the body's mass over the shapes: a shape weighs its mass when positive,
// otherwise its density times its volume (times the actor's density when the mass
// comes from density). Boxes are solid; wheels are point masses at their mount points,
// which brings a car's centre of mass down toward its axles.
MassProperties massFromShapes(const ActorDesc& desc,
                              const std::vector<std::unique_ptr<Shape>>& shapes) {
    struct Piece {
        float weight;
        btVector3 position;
        btMatrix3x3 rotation;
        btVector3 inertiaPerMass;
    };
    std::vector<Piece> pieces;
    float total = 0.0f;
    const float densityScale = desc.density > 0.0f ? desc.density : 1.0f;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const ShapeDesc& shapeDesc = *desc.shapes[i];
        const CollisionGeometry* geometry = shapes[i]->getCollisionGeometry();
        float volume = geometry != nullptr ? geometry->volume : 0.0f;
        if (const WheelShape* wheel = shapes[i]->isWheel()) {
            volume = std::numbers::pi_v<float> * std::pow(wheel->getRadius(), 3.0f);
        }
        const float weight =
            shapeDesc.mass > 0.0f ? shapeDesc.mass : shapeDesc.density * densityScale * volume;
        const btVector3 inertia =
            geometry != nullptr ? toBullet(geometry->inertiaPerMass) : btVector3(0, 0, 0);
        pieces.push_back(
            {weight, toBullet(shapeDesc.localPose.t), toBullet(shapeDesc.localPose.M), inertia});
        total += weight;
    }
    if (total <= 0.0f) {
        // Only shapes without volume (flat boxes): share the mass equally.
        for (Piece& piece : pieces) {
            piece.weight = 1.0f;
        }
        total = static_cast<float>(pieces.size());
    }
    MassProperties result;
    result.mass = desc.body->mass > 0.0f ? desc.body->mass : total;
    const float scale = result.mass / total;
    btVector3 centre(0, 0, 0);
    for (const Piece& piece : pieces) {
        centre += piece.position * piece.weight;
    }
    centre /= total;
    btMatrix3x3 tensor(0, 0, 0, 0, 0, 0, 0, 0, 0);
    for (const Piece& piece : pieces) {
        const float m = piece.weight * scale;
        btMatrix3x3 local = btMatrix3x3::getIdentity().scaled(piece.inertiaPerMass * m);
        tensor = tensor + piece.rotation * local * piece.rotation.transpose();
        const btVector3 d = piece.position - centre;
        const btMatrix3x3 outer(d.x() * d.x(), d.x() * d.y(), d.x() * d.z(), d.y() * d.x(),
                                d.y() * d.y(), d.y() * d.z(), d.z() * d.x(), d.z() * d.y(),
                                d.z() * d.z());
        tensor = tensor +
                 (btMatrix3x3::getIdentity().scaled(btVector3(1, 1, 1) * d.length2()) - outer) * m;
    }
    btMatrix3x3 axes;
    tensor.diagonalize(axes, 1e-6f, 32);
    // A body without extent about some axis would not turn about it; give it the
    // inertia of a unit sphere of its mass there.
    const float fallback = 0.4f * result.mass;
    result.inertia = btVector3(tensor[0][0] > 0.0f ? tensor[0][0] : fallback,
                               tensor[1][1] > 0.0f ? tensor[1][1] : fallback,
                               tensor[2][2] > 0.0f ? tensor[2][2] : fallback);
    result.frame = btTransform(axes, centre);
    return result;
}

} // namespace

Shape* ActorBody::shapeOf(const btCollisionObject* object, int childIndex) {
    const auto* actor = static_cast<const Actor*>(object->getUserPointer());
    if (actor == nullptr) {
        return nullptr;
    }
    const ActorBody& body = actor->getBody();
    const int index = body.rigidBody ? childIndex : object->getUserIndex();
    return index >= 0 && index < static_cast<int>(body.colliders.size()) ? body.colliders[index]
                                                                         : nullptr;
}

Actor::Actor(Scene& scene, const ActorDesc& desc)
    : scene(scene), name(desc.name), body(std::make_unique<ActorBody>()) {
    const float skinWidth = scene.getPhysicsSDK().getParameter(P_SKIN_WIDTH);
    for (const ShapeDesc* shapeDesc : desc.shapes) {
        shapes.push_back(makeShape(*this, *shapeDesc, skinWidth));
        Shape* shape = shapes.back().get();
        if (WheelShape* wheel = shape->isWheel()) {
            wheels.push_back(wheel);
        } else {
            body->colliders.push_back(shape);
        }
    }
    const btTransform pose = toBullet(desc.globalPose);
    btDiscreteDynamicsWorld& world = scene.getWorld().world;

    if (desc.body == nullptr) {
        body->staticPose = pose;
        for (std::size_t i = 0; i < body->colliders.size(); ++i) {
            const Shape& shape = *body->colliders[i];
            auto object = std::make_unique<btCollisionObject>();
            object->setCollisionShape(shape.getCollisionGeometry()->shape.get());
            object->setWorldTransform(pose * toBullet(shape.getLocalPose()) *
                                      shape.getCollisionGeometry()->offset);
            object->setUserPointer(this);
            object->setUserIndex(static_cast<int>(i));
            object->setCollisionFlags(object->getCollisionFlags() |
                                      btCollisionObject::CF_STATIC_OBJECT |
                                      btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
            // Asleep, so that bodies asleep on it are not collided with it.
            object->setActivationState(ISLAND_SLEEPING);
            world.addCollisionObject(object.get(), staticGroup, staticMask);
            body->statics.push_back(std::move(object));
        }
        return;
    }

    const BodyDesc& bodyDesc = *desc.body;
    MassProperties mass;
    if (bodyDesc.massSpaceInertia != Vec3(0.0f)) {
        mass.mass = bodyDesc.mass;
        mass.frame = toBullet(bodyDesc.massLocalPose);
        mass.inertia = toBullet(bodyDesc.massSpaceInertia);
    } else {
        mass = massFromShapes(desc, shapes);
    }
    body->massLocal = mass.frame;
    body->airDrag = bodyDesc.airDrag;
    body->compound = std::make_unique<btCompoundShape>();
    const btTransform toMassFrame = mass.frame.inverse();
    for (const Shape* shape : body->colliders) {
        body->compound->addChildShape(toMassFrame * toBullet(shape->getLocalPose()) *
                                          shape->getCollisionGeometry()->offset,
                                      shape->getCollisionGeometry()->shape.get());
    }
    btRigidBody::btRigidBodyConstructionInfo info(mass.mass, nullptr, body->compound.get(),
                                                  mass.inertia);
    info.m_startWorldTransform = pose * mass.frame;
    info.m_linearDamping = bodyDesc.linearDamping;
    info.m_angularDamping = bodyDesc.angularDamping;
    const PhysicsSDK& sdk = scene.getPhysicsSDK();
    info.m_linearSleepingThreshold =
        bodyDesc.sleepLinearVelocity >= 0.0f
            ? bodyDesc.sleepLinearVelocity
            : std::sqrt(sdk.getParameter(P_DEFAULT_SLEEP_LIN_VEL_SQUARED));
    info.m_angularSleepingThreshold =
        bodyDesc.sleepAngularVelocity >= 0.0f
            ? bodyDesc.sleepAngularVelocity
            : std::sqrt(sdk.getParameter(P_DEFAULT_SLEEP_ANG_VEL_SQUARED));
    body->rigidBody = std::make_unique<btRigidBody>(info);
    body->previousPose = info.m_startWorldTransform;
    btRigidBody& rigid = *body->rigidBody;
    rigid.setUserPointer(this);
    rigid.setCollisionFlags(rigid.getCollisionFlags() |
                            btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
    rigid.setLinearVelocity(toBullet(bodyDesc.linearVelocity));
    rigid.setAngularVelocity(toBullet(bodyDesc.angularVelocity));
    world.addRigidBody(&rigid);
    if ((bodyDesc.flags & BF_DISABLE_GRAVITY) != 0) {
        rigid.setFlags(rigid.getFlags() | BT_DISABLE_WORLD_GRAVITY);
        rigid.setGravity(btVector3(0, 0, 0));
    }
    if (!wheels.empty()) {
        rigid.setActivationState(DISABLE_DEACTIVATION);
    } else if (bodyDesc.wakeUpCounter <= 0.0f) {
        rigid.setActivationState(ISLAND_SLEEPING);
    }
}

Actor::~Actor() {
    btDiscreteDynamicsWorld& world = scene.getWorld().world;
    if (body->rigidBody) {
        world.removeRigidBody(body->rigidBody.get());
    }
    for (const auto& object : body->statics) {
        world.removeCollisionObject(object.get());
    }
}

bool Actor::isDynamic() const {
    return body->rigidBody != nullptr;
}

Mat34 Actor::getGlobalPose() const {
    if (!body->rigidBody) {
        return fromBullet(body->staticPose);
    }
    return fromBullet(body->rigidBody->getCenterOfMassTransform() * body->massLocal.inverse());
}

void Actor::setGlobalPose(const Mat34& pose) {
    btDiscreteDynamicsWorld& world = scene.getWorld().world;
    const btTransform frame = toBullet(pose);
    if (body->rigidBody) {
        btRigidBody& rigid = *body->rigidBody;
        rigid.setCenterOfMassTransform(frame * body->massLocal);
        rigid.setInterpolationWorldTransform(rigid.getWorldTransform());
        body->previousPose = rigid.getWorldTransform();
        world.updateSingleAabb(&rigid);
        rigid.activate();
        return;
    }
    body->staticPose = frame;
    for (std::size_t i = 0; i < body->statics.size(); ++i) {
        const Shape& shape = *body->colliders[i];
        body->statics[i]->setWorldTransform(frame * toBullet(shape.getLocalPose()) *
                                            shape.getCollisionGeometry()->offset);
        world.updateSingleAabb(body->statics[i].get());
    }
}

Mat34 Actor::getInterpolatedGlobalPose() const {
    float timestep;
    std::uint32_t iterations;
    TimeStepMethod method;
    scene.getTiming(timestep, iterations, method);
    if (!body->rigidBody || method == TIMESTEP_VARIABLE) {
        return getGlobalPose();
    }
    const float t = std::clamp(scene.getCarriedTime() / timestep, 0.0f, 1.0f);
    const btTransform& from = body->previousPose;
    const btTransform& to = body->rigidBody->getCenterOfMassTransform();
    const btTransform between(from.getRotation().slerp(to.getRotation(), t),
                              from.getOrigin().lerp(to.getOrigin(), t));
    return fromBullet(between * body->massLocal.inverse());
}

void Actor::setGlobalPosition(const Vec3& position) {
    Mat34 pose = getGlobalPose();
    pose.t = position;
    setGlobalPose(pose);
}

void Actor::setGlobalOrientation(const Mat33& orientation) {
    Mat34 pose = getGlobalPose();
    pose.M = orientation;
    setGlobalPose(pose);
}

float Actor::getMass() const {
    return body->rigidBody && body->rigidBody->getInvMass() > 0.0f
               ? 1.0f / body->rigidBody->getInvMass()
               : 0.0f;
}

Vec3 Actor::getMassSpaceInertiaTensor() const {
    if (!body->rigidBody) {
        return Vec3(0.0f);
    }
    const btVector3 inverse = body->rigidBody->getInvInertiaDiagLocal();
    const auto invert = [](float value) { return value > 0.0f ? 1.0f / value : 0.0f; };
    return {invert(inverse.x()), invert(inverse.y()), invert(inverse.z())};
}

Mat34 Actor::getCMassLocalPose() const {
    return body->rigidBody ? fromBullet(body->massLocal) : Mat34();
}

Vec3 Actor::getCMassGlobalPosition() const {
    return body->rigidBody ? fromBullet(body->rigidBody->getCenterOfMassPosition())
                           : getGlobalPosition();
}

Vec3 Actor::getLinearVelocity() const {
    return body->rigidBody ? fromBullet(body->rigidBody->getLinearVelocity()) : Vec3(0.0f);
}

void Actor::setLinearVelocity(const Vec3& velocity) {
    if (body->rigidBody) {
        body->rigidBody->setLinearVelocity(toBullet(velocity));
    }
}

Vec3 Actor::getAngularVelocity() const {
    return body->rigidBody ? fromBullet(body->rigidBody->getAngularVelocity()) : Vec3(0.0f);
}

void Actor::setAngularVelocity(const Vec3& velocity) {
    if (body->rigidBody) {
        body->rigidBody->setAngularVelocity(toBullet(velocity));
    }
}

Vec3 Actor::getLinearMomentum() const {
    return getLinearVelocity() * getMass();
}

void Actor::setLinearMomentum(const Vec3& momentum) {
    if (body->rigidBody) {
        body->rigidBody->setLinearVelocity(toBullet(momentum) * body->rigidBody->getInvMass());
    }
}

Vec3 Actor::getAngularMomentum() const {
    if (!body->rigidBody) {
        return Vec3(0.0f);
    }
    const btRigidBody& rigid = *body->rigidBody;
    const btMatrix3x3& basis = rigid.getCenterOfMassTransform().getBasis();
    const btVector3 local = basis.transpose() * rigid.getAngularVelocity();
    return fromBullet(basis * (local * toBullet(getMassSpaceInertiaTensor())));
}

void Actor::setAngularMomentum(const Vec3& momentum) {
    if (body->rigidBody) {
        body->rigidBody->setAngularVelocity(body->rigidBody->getInvInertiaTensorWorld() *
                                            toBullet(momentum));
    }
}

void Actor::wakeUp(float wakeCounterValue) {
    if (body->rigidBody && wakeCounterValue > 0.0f) {
        body->rigidBody->activate(true);
    }
}

void Actor::putToSleep() {
    if (body->rigidBody && wheels.empty()) {
        body->rigidBody->setLinearVelocity(btVector3(0, 0, 0));
        body->rigidBody->setAngularVelocity(btVector3(0, 0, 0));
        body->rigidBody->setActivationState(ISLAND_SLEEPING);
    }
}

bool Actor::isSleeping() const {
    return body->rigidBody && !body->rigidBody->isActive();
}

} // namespace Physics
