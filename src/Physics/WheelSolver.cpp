#include "Physics/WheelSolver.h"

#include "Physics/Actor.h"
#include "Physics/BulletBridge.h"
#include "Physics/Scene.h"
#include "Physics/WheelShape.h"

#include <algorithm>
#include <cmath>

// The wheel model.
//
// Each wheel casts a ray along its local -y axis from one radius above its mount point
// (the shape's origin) to radius + suspension travel below it. A hit within that reach
// is a contact; contactPosition is the distance from the mount point to the ground.
// Closer than the radius the suspension has bottomed out: a rigid bump stop takes over.
// Every sub-step solves, for all wheels of a car together, a few Gauss-Seidel passes of
// impulses at the contact points, on velocities that already include the gravity of the
// coming world step (so that a car at rest is held exactly, without creep):
//
// - Suspension: an implicit (soft-constraint) spring-damper, stable at any stiffness.
//   The game's values (spring 0, damper 8000 on a 3 kg car) would let the car sink onto
//   the bump stop, so the stiffness is derived from the load: the static weight of the
//   actor, shared by its wheels, compresses a spring to the middle of the range between
//   the spring target and full compression. A larger spring value is used as given. The
//   damping is critical for that stiffness, or the damper value when that is smaller.
// - Tyres: the tire functions give friction coefficients (clamped-friction flag; without
//   it the curve value times the stiffness factor). Within the extremum slip the curve's
//   peak acts as static friction, so a car stands still on a slope; beyond it the curve
//   gives the sliding friction. Coefficients are capped (maxLongitudalFriction,
//   maxLateralFriction): the game's longitudinal extremum of 20 would mean 20 g of grip,
//   and lateral grip above about 1.5 g would roll a car whose centre of mass sits just
//   above its axles. Longitudinal and lateral impulses are bounded together by a
//   friction ellipse. The slips are velocities with the slip-velocity flags, otherwise
//   the slip ratio and the slip angle. The materials of wheel and ground play no part.
// - Drive and brake: the wheel spins with inertia r^2 / (2 * inverse wheel mass). Motor
//   torque is limited to what the tyre can pass on at its current load (traction limit)
//   and a driven wheel never slips by more than the extremum slip, so the motor's
//   surplus is dropped instead of being stored in a wildly spinning wheel (the game's
//   675 N*m on a 0.1 kg*m^2 wheel would add 100 rad/s per sub-step). A wheel in the air
//   keeps its speed; the motor does not spin it up. The brake holds a wheel still up to
//   the brake torque; while it holds, the tyre works against the chassis alone.
// - The car carries air drag (acceleration dragCoefficient * v^2) that limits its top
//   speed (nothing else in the game's values does), and never sleeps: raycast wheels
//   make no contacts that would wake it.
// The constants were tuned with the game's car (mass 3, the game's wheel values) on the
// game's terrain size: 0 to 15 in about 3.6 s, a top speed near 30, braking from 20 in
// about 12 units, a full-lock circle at 10 without lifting a wheel.

namespace Physics {

namespace {

constexpr float maxLongitudalFriction = 1.7f;
constexpr float maxLateralFriction = 1.1f;
constexpr float dragCoefficient = 0.007f;
constexpr float dampingRatio = 1.0f;
constexpr float bumpStopErp = 0.2f;
constexpr int normalPasses = 4;
constexpr int frictionPasses = 6;
constexpr float minSlipSpeed = 0.5f;

class WheelRay : public btCollisionWorld::ClosestRayResultCallback {
public:
    WheelRay(const btVector3& from, const btVector3& to, const btCollisionObject* self)
        : ClosestRayResultCallback(from, to), self(self) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override {
        return proxy->m_clientObject != self && ClosestRayResultCallback::needsCollision(proxy);
    }

    btScalar addSingleResult(btCollisionWorld::LocalRayResult& result,
                             bool normalInWorldSpace) override {
        childIndex =
            result.m_localShapeInfo != nullptr ? result.m_localShapeInfo->m_triangleIndex : 0;
        return ClosestRayResultCallback::addSingleResult(result, normalInWorldSpace);
    }

    int childIndex = 0;

private:
    const btCollisionObject* self;
};

// The working state of one wheel during a sub-step.
struct WheelWork {
    WheelShape* wheel = nullptr;
    bool touching = false;
    btRigidBody* other = nullptr;
    btVector3 point, normal, longitudal, lateral, armSelf, armOther;
    float distance = 0.0f;
    float compression = 0.0f;
    float invWheelInertia = 0.0f;

    float normalMass = 0.0f;
    float softMass = 0.0f;
    float softBias = 0.0f;
    float softGamma = 0.0f;
    bool springActive = false;
    bool bumpActive = false;
    float bumpBias = 0.0f;
    float chassisLongitudalMass = 0.0f; // inverse mass along the rolling direction
    float longitudalMass = 0.0f;        // the same with the wheel's spin
    float lateralMass = 0.0f;
    float longitudalFriction = 0.0f;
    float lateralFriction = 0.0f;
    float longitudalSlip = 0.0f;
    float lateralSlip = 0.0f;

    float springImpulse = 0.0f;
    float bumpImpulse = 0.0f;
    float longitudalImpulse = 0.0f;
    float lateralImpulse = 0.0f;
    float brakeImpulse = 0.0f;

    float normalImpulse() const { return springImpulse + bumpImpulse; }
};

float inverseMassAlong(const btRigidBody* body, const btVector3& arm, const btVector3& direction) {
    if (body == nullptr) {
        return 0.0f;
    }
    const btVector3 angular = arm.cross(direction);
    return body->getInvMass() + angular.dot(body->getInvInertiaTensorWorld() * angular);
}

btVector3 pointVelocity(const btRigidBody* body, const btVector3& arm) {
    return body == nullptr ? btVector3(0, 0, 0) : body->getVelocityInLocalPoint(arm);
}

// The friction coefficient at a slip: the curve's peak up to the extremum slip.
float frictionCoefficient(const TireFunctionDesc& curve, float slip, bool clamped, float cap) {
    const float value = curve.hermiteEval(std::max(std::fabs(slip), curve.extremumSlip));
    const float coefficient = clamped ? value : value * curve.stiffnessFactor;
    return std::min(coefficient, cap);
}

} // namespace

class WheelSolver::CarStep {
public:
    CarStep(Actor& actor, btRigidBody& body, btDynamicsWorld& world, float h)
        : actor(actor), body(body), world(world), h(h) {}

    void run() {
        anticipateGravityAndDrag(1.0f);
        for (WheelShape* wheel : actor.getWheels()) {
            work.push_back(prepare(*wheel));
        }
        for (int pass = 0; pass < normalPasses; ++pass) {
            for (WheelWork& w : work) {
                solveNormal(w);
            }
        }
        for (WheelWork& w : work) {
            drive(w);
        }
        for (int pass = 0; pass < frictionPasses; ++pass) {
            for (WheelWork& w : work) {
                solveNormal(w);
                solveBrake(w);
                solveFriction(w);
            }
        }
        for (WheelWork& w : work) {
            limitWheelSpin(w);
            report(w);
        }
        anticipateGravityAndDrag(-1.0f);
    }

private:
    // Adds (sign 1) or takes back (sign -1) the gravity the world step will apply.
    // Drag is applied on the way in only.
    void anticipateGravityAndDrag(float sign) {
        btVector3 velocity = body.getLinearVelocity() + sign * body.getGravity() * h;
        if (sign > 0.0f) {
            const float slowdown = std::min(1.0f, dragCoefficient * velocity.length() * h);
            velocity -= velocity * slowdown;
        }
        body.setLinearVelocity(velocity);
    }

    WheelWork prepare(WheelShape& wheel) {
        WheelWork w;
        w.wheel = &wheel;
        const bool overridden = (wheel.wheelFlags & WF_AXLE_SPEED_OVERRIDE) != 0;
        w.invWheelInertia =
            overridden ? 0.0f : 2.0f * wheel.inverseWheelMass / (wheel.radius * wheel.radius);

        const Mat34 pose = actor.getGlobalPose() * wheel.getLocalPose();
        const btVector3 mount = toBullet(pose.t);
        const btVector3 up = toBullet(pose.M[1]).normalized();
        const btVector3 side = toBullet(pose.M[0]);
        const btVector3 ahead = toBullet(pose.M[2]);
        const float reach = wheel.radius + wheel.suspensionTravel;
        const btVector3 from = mount + up * wheel.radius;
        WheelRay ray(from, mount - up * reach, &body);
        world.rayTest(from, mount - up * reach, ray);
        if (!ray.hasHit()) {
            wheel.contactShape = nullptr;
            return w;
        }
        w.touching = true;
        w.distance = ray.m_closestHitFraction * (wheel.radius + reach) - wheel.radius;
        w.compression = reach - w.distance;
        w.point = ray.m_hitPointWorld;
        w.normal = (wheel.wheelFlags & WF_WHEEL_AXIS_CONTACT_NORMAL) != 0
                       ? up
                       : ray.m_hitNormalWorld.normalized();
        if (w.normal.dot(up) < 0.0f) {
            w.normal = -w.normal;
        }
        const btVector3 heading =
            ahead * std::cos(wheel.steerAngle) + side * std::sin(wheel.steerAngle);
        w.longitudal = heading - w.normal * heading.dot(w.normal);
        if (w.longitudal.length2() < 1e-8f) {
            w.longitudal = w.normal.cross(side);
        }
        w.longitudal.normalize();
        w.lateral = w.normal.cross(w.longitudal);

        btRigidBody* hitBody = const_cast<btRigidBody*>(btRigidBody::upcast(ray.m_collisionObject));
        w.other = hitBody != nullptr && hitBody->getInvMass() > 0.0f ? hitBody : nullptr;
        w.armSelf = w.point - body.getCenterOfMassPosition();
        w.armOther =
            w.other != nullptr ? w.point - w.other->getCenterOfMassPosition() : btVector3(0, 0, 0);
        wheel.contactShape = ActorBody::shapeOf(ray.m_collisionObject, ray.childIndex);

        prepareSuspension(w);
        prepareFriction(w);
        return w;
    }

    void prepareSuspension(WheelWork& w) {
        const WheelShape& wheel = *w.wheel;
        w.normalMass = inverseMassAlong(&body, w.armSelf, w.normal) +
                       inverseMassAlong(w.other, w.armOther, w.normal);
        const float travel = wheel.suspensionTravel;
        const float target = wheel.suspension.targetValue * travel;
        const float load = actor.getMass() * body.getGravity().length() /
                           static_cast<float>(actor.getWheels().size());
        const float sag = 0.5f * (travel - target);
        const float stiffness =
            sag > 0.0f ? std::max(wheel.suspension.spring, load / sag) : wheel.suspension.spring;
        const float sprungMass = actor.getMass() / static_cast<float>(actor.getWheels().size());
        const float damping = std::min(wheel.suspension.damper,
                                       2.0f * dampingRatio * std::sqrt(stiffness * sprungMass));
        const float softness = damping + h * stiffness;
        w.springActive = softness > 0.0f;
        if (w.springActive) {
            w.softGamma = 1.0f / (h * softness);
            w.softBias = stiffness / softness * -(w.compression - target);
            w.softMass = 1.0f / (w.normalMass + w.softGamma);
        }
        const float penetration = w.compression - travel;
        w.bumpActive = penetration > 0.0f;
        w.bumpBias = -bumpStopErp * penetration / h;
    }

    void prepareFriction(WheelWork& w) {
        const WheelShape& wheel = *w.wheel;
        w.chassisLongitudalMass = inverseMassAlong(&body, w.armSelf, w.longitudal) +
                                  inverseMassAlong(w.other, w.armOther, w.longitudal);
        w.longitudalMass =
            w.chassisLongitudalMass + wheel.radius * wheel.radius * w.invWheelInertia;
        w.lateralMass = inverseMassAlong(&body, w.armSelf, w.lateral) +
                        inverseMassAlong(w.other, w.armOther, w.lateral);

        const btVector3 velocity = relativeVelocity(w);
        const float forward = velocity.dot(w.longitudal);
        const float sideways = velocity.dot(w.lateral);
        const float slipVelocity = wheel.axleSpeed * wheel.radius - forward;
        const float speed = std::max(std::fabs(forward), minSlipSpeed);
        w.longitudalSlip = (wheel.wheelFlags & WF_INPUT_LNG_SLIPVELOCITY) != 0
                               ? slipVelocity
                               : slipVelocity / speed;
        w.lateralSlip = (wheel.wheelFlags & WF_INPUT_LAT_SLIPVELOCITY) != 0
                            ? sideways
                            : std::atan2(sideways, speed);
        const bool clamped = (wheel.wheelFlags & WF_CLAMPED_FRICTION) != 0;
        w.longitudalFriction =
            frictionCoefficient(wheel.longitudal, w.longitudalSlip, clamped, maxLongitudalFriction);
        w.lateralFriction =
            frictionCoefficient(wheel.lateral, w.lateralSlip, clamped, maxLateralFriction);
    }

    btVector3 relativeVelocity(const WheelWork& w) const {
        return pointVelocity(&body, w.armSelf) - pointVelocity(w.other, w.armOther);
    }

    void applyImpulse(const WheelWork& w, const btVector3& impulse) {
        body.applyImpulse(impulse, w.armSelf);
        if (w.other != nullptr) {
            w.other->activate();
            w.other->applyImpulse(-impulse, w.armOther);
        }
    }

    void solveNormal(WheelWork& w) {
        if (!w.touching) {
            return;
        }
        if (w.springActive) {
            const float closing = relativeVelocity(w).dot(w.normal);
            const float delta =
                -w.softMass * (closing + w.softBias + w.softGamma * w.springImpulse);
            const float total = std::max(0.0f, w.springImpulse + delta);
            applyImpulse(w, w.normal * (total - w.springImpulse));
            w.springImpulse = total;
        }
        if (w.bumpActive && w.normalMass > 0.0f) {
            const float closing = relativeVelocity(w).dot(w.normal);
            const float delta = -(closing + w.bumpBias) / w.normalMass;
            const float total = std::max(0.0f, w.bumpImpulse + delta);
            applyImpulse(w, w.normal * (total - w.bumpImpulse));
            w.bumpImpulse = total;
        }
    }

    void drive(WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (!w.touching || w.invWheelInertia == 0.0f) {
            return;
        }
        const float peak = frictionCoefficient(wheel.longitudal, 0.0f,
                                               (wheel.wheelFlags & WF_CLAMPED_FRICTION) != 0,
                                               maxLongitudalFriction);
        const float traction = peak * w.normalImpulse() / h * wheel.radius;
        const float torque = std::clamp(wheel.motorTorque, -traction, traction);
        wheel.axleSpeed += torque * h * w.invWheelInertia;
    }

    void solveBrake(WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (wheel.brakeTorque <= 0.0f || w.invWheelInertia == 0.0f) {
            return;
        }
        const float limit = wheel.brakeTorque * h;
        const float total =
            std::clamp(w.brakeImpulse - wheel.axleSpeed / w.invWheelInertia, -limit, limit);
        wheel.axleSpeed += (total - w.brakeImpulse) * w.invWheelInertia;
        w.brakeImpulse = total;
    }

    // Bounds the two friction impulses by the friction ellipse of the current load.
    static void limitFriction(const WheelWork& w, float& longitudal, float& lateral) {
        const float maxLongitudal = w.longitudalFriction * w.normalImpulse();
        const float maxLateral = w.lateralFriction * w.normalImpulse();
        if (maxLongitudal <= 0.0f || maxLateral <= 0.0f) {
            longitudal = std::clamp(longitudal, -maxLongitudal, maxLongitudal);
            lateral = std::clamp(lateral, -maxLateral, maxLateral);
            return;
        }
        const float a = longitudal / maxLongitudal;
        const float b = lateral / maxLateral;
        const float ellipse = a * a + b * b;
        if (ellipse > 1.0f) {
            const float scale = 1.0f / std::sqrt(ellipse);
            longitudal *= scale;
            lateral *= scale;
        }
    }

    // Tyre friction. A braked wheel is first held still by its brake (the friction then
    // works on the chassis alone), which lets a parked car stand on a slope; only when
    // the brake cannot hold does the wheel turn against its own inertia.
    void solveFriction(WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (!w.touching) {
            return;
        }
        const btVector3 velocity = relativeVelocity(w);
        const float rolling = velocity.dot(w.longitudal) - wheel.axleSpeed * wheel.radius;
        const float lateralTarget = w.lateralImpulse - velocity.dot(w.lateral) / w.lateralMass;
        float longitudal = 0.0f;
        float lateral = lateralTarget;
        bool held = false;
        if (wheel.brakeTorque > 0.0f && w.invWheelInertia > 0.0f) {
            longitudal = w.longitudalImpulse - rolling / w.chassisLongitudalMass;
            limitFriction(w, longitudal, lateral);
            const float brake = w.brakeImpulse + (longitudal - w.longitudalImpulse) * wheel.radius;
            held = std::fabs(brake) <= wheel.brakeTorque * h;
            if (held) {
                w.brakeImpulse = brake;
            }
        }
        if (!held) {
            longitudal = w.longitudalImpulse - rolling / w.longitudalMass;
            lateral = lateralTarget;
            limitFriction(w, longitudal, lateral);
            wheel.axleSpeed -=
                (longitudal - w.longitudalImpulse) * wheel.radius * w.invWheelInertia;
        }
        applyImpulse(w, w.longitudal * (longitudal - w.longitudalImpulse) +
                            w.lateral * (lateral - w.lateralImpulse));
        w.longitudalImpulse = longitudal;
        w.lateralImpulse = lateral;
    }

    // Traction limit, second half: a driven wheel slips at most by the extremum slip,
    // beyond which the tyre would pass on less; the motor's surplus is not stored.
    void limitWheelSpin(WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (!w.touching || wheel.motorTorque == 0.0f || w.invWheelInertia == 0.0f) {
            return;
        }
        const float forward = relativeVelocity(w).dot(w.longitudal);
        const float extremum = wheel.longitudal.extremumSlip;
        const float maxSlip = (wheel.wheelFlags & WF_INPUT_LNG_SLIPVELOCITY) != 0
                                  ? extremum
                                  : extremum * std::max(std::fabs(forward), minSlipSpeed);
        const float slip = std::clamp(wheel.axleSpeed * wheel.radius - forward, -maxSlip, maxSlip);
        wheel.axleSpeed = (forward + slip) / wheel.radius;
    }

    void report(const WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (!w.touching) {
            return;
        }
        WheelContactData& contact = wheel.contact;
        contact.contactPoint = fromBullet(w.point);
        contact.contactNormal = fromBullet(w.normal);
        contact.longitudalDirection = fromBullet(w.longitudal);
        contact.lateralDirection = fromBullet(w.lateral);
        contact.contactForce = w.normalImpulse() / h;
        contact.longitudalSlip = w.longitudalSlip;
        contact.lateralSlip = w.lateralSlip;
        contact.longitudalImpulse = w.longitudalImpulse;
        contact.lateralImpulse = w.lateralImpulse;
        contact.otherShapeMaterialIndex =
            wheel.contactShape != nullptr ? wheel.contactShape->getMaterial() : 0;
        contact.contactPosition = w.distance;
    }

    Actor& actor;
    btRigidBody& body;
    btDynamicsWorld& world;
    float h;
    std::vector<WheelWork> work;
};

void WheelSolver::step(Actor& actor, btDynamicsWorld& world, float h) {
    btRigidBody* body = actor.getBody().rigidBody.get();
    if (body == nullptr || actor.getWheels().empty() || h <= 0.0f) {
        return;
    }
    CarStep(actor, *body, world, h).run();
}

void WheelSolver::forgetContactWith(WheelShape& wheel, const Actor& other) {
    if (wheel.contactShape != nullptr && &wheel.contactShape->getActor() == &other) {
        wheel.contactShape = nullptr;
    }
}

} // namespace Physics
