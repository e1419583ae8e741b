#pragma once

// Private to the physics layer: the Bullet objects behind scenes, actors and shapes.

#include "Physics/Types.h"

#include <btBulletDynamicsCommon.h>
#include <memory>
#include <vector>

namespace Physics {

class Actor;
class HeightFieldShape;
class Shape;

inline btVector3 toBullet(const Vec3& v) {
    return {v.x, v.y, v.z};
}
inline Vec3 fromBullet(const btVector3& v) {
    return {v.x(), v.y(), v.z()};
}

inline btMatrix3x3 toBullet(const Mat33& m) {
    return {m[0][0], m[1][0], m[2][0], m[0][1], m[1][1], m[2][1], m[0][2], m[1][2], m[2][2]};
}
inline Mat33 fromBullet(const btMatrix3x3& m) {
    Mat33 r;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            r[column][row] = m[row][column];
        }
    }
    return r;
}

inline btTransform toBullet(const Mat34& pose) {
    return btTransform(toBullet(pose.M), toBullet(pose.t));
}
inline Mat34 fromBullet(const btTransform& t) {
    return {fromBullet(t.getBasis()), fromBullet(t.getOrigin())};
}

// The dynamics world of a scene. Each step solves the wheels of the scene's actors
// after collision detection (the bounds are then current), before the contact solver.
class DynamicsWorld : public btDiscreteDynamicsWorld {
public:
    DynamicsWorld(btDispatcher* dispatcher, btBroadphaseInterface* broadphase,
                  btConstraintSolver* solver, btCollisionConfiguration* configuration,
                  const std::vector<std::unique_ptr<Actor>>& actors)
        : btDiscreteDynamicsWorld(dispatcher, broadphase, solver, configuration), actors(actors) {}

protected:
    void solveConstraints(btContactSolverInfo& info) override;

private:
    const std::vector<std::unique_ptr<Actor>>& actors;
};

// The Bullet world of a scene, stepping the scene's actors.
struct World {
    explicit World(const std::vector<std::unique_ptr<Actor>>& actors);
    ~World();

    // Bullet's default pools hold 4096 contact manifolds and collision algorithms,
    // about 4 MB written through when the world is made. A race touches a few dozen
    // pairs at once; a pool that runs out allocates more from the heap.
    static btDefaultCollisionConstructionInfo poolSizes() {
        btDefaultCollisionConstructionInfo info;
        info.m_defaultMaxPersistentManifoldPoolSize = 256;
        info.m_defaultMaxCollisionAlgorithmPoolSize = 256;
        return info;
    }

    btDefaultCollisionConfiguration configuration{poolSizes()};
    btCollisionDispatcher dispatcher{&configuration};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    DynamicsWorld world;
};

// Notes, for every actor touching another, the contact impulse of the sub-step just
// simulated (ContactImpulse.cpp).
void recordContactImpulses(btDispatcher& dispatcher);

// The Bullet geometry of one colliding shape; offset places the Bullet shape in the
// shape's frame (Bullet centres height fields on their bounds).
struct CollisionGeometry {
    std::unique_ptr<btCollisionShape> shape;
    btTransform offset = btTransform::getIdentity();
    std::vector<float> heights; // height-field data, read by Bullet in place
    float volume = 0.0f;
    Vec3 inertiaPerMass{0.0f}; // principal inertia of the shape per unit mass, shape frame
};

// The Bullet side of an actor. Dynamic actors are one rigid body with a compound of
// their colliding shapes, in the centre-of-mass frame massLocal (given in the actor
// frame). Static actors are one collision object per colliding shape. Every Bullet
// object points back to the actor; its user index names the shape's position in
// colliders (static objects) and the compound's child index does the same.
struct ActorBody {
    std::unique_ptr<btRigidBody> rigidBody;
    std::unique_ptr<btCompoundShape> compound;
    std::vector<std::unique_ptr<btCollisionObject>> statics;
    std::vector<Shape*> colliders;
    btTransform massLocal = btTransform::getIdentity();
    float airDrag = 0.0f; // BodyDesc::airDrag
    btTransform staticPose = btTransform::getIdentity();
    // The centre-of-mass frame before the scene's last sub-step (dynamic actors).
    btTransform previousPose = btTransform::getIdentity();
    // The largest contact impulse from one other object in one sub-step since it was
    // last fetched (ContactImpulse.h).
    float strongestContactImpulse = 0.0f;

    // The shape of an actor that a Bullet hit names, or null.
    static Shape* shapeOf(const btCollisionObject* object, int childIndex);
};

// The height-field shape a static collision object stands for, or null.
const HeightFieldShape* heightFieldOf(const btCollisionObject* object);

} // namespace Physics
