#include "Physics/WheelSolver.h"

#include "Physics/Actor.h"
#include "Physics/BulletBridge.h"
#include "Physics/HeightFieldShape.h"
#include "Physics/Scene.h"
#include "Physics/WheelShape.h"

#include <algorithm>
#include <cmath>
#include <vector>

// The wheel model.
//
// Each wheel casts a ray along its local -y axis from one radius above its mount point
// (the shape's origin) to radius + suspension travel below it. A hit within that reach
// is a contact; contactPosition is the distance from the mount point to the ground.
// Closer than the radius the suspension has bottomed out: a rigid bump stop takes over,
// pushing the wheel out no faster than maxBumpStopSpeed. Every sub-step, after the
// world's collision detection and before its contact solver, solves for all wheels of
// a car together Gauss-Seidel passes of impulses at the contact points (until a pass
// changes no impulse by more than convergedImpulse, at most maxFrictionPasses), on
// velocities that already include the gravity of the step, so that a car at rest is
// held exactly, without creep:
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
//   gives the sliding friction. Coefficients are capped by the wheel's tuning: the
//   game's longitudinal extremum of 20 would mean 20 g of grip.
//   Longitudinal and lateral impulses are bounded together by a friction ellipse. The
//   slips are velocities with the slip-velocity flags, otherwise the slip ratio and the
//   slip angle (against a rolling speed of at least the tuning's slipAngleFloorSpeed).
//   The materials of wheel and ground play no part.
// - A tyre stands only on ground no steeper than maxGroundSlope: a ray that meets a
//   wall, a post or the side of a crate is no wheel contact (the body's own shapes
//   collide with those), so a wheel never climbs a wall or pushes the car up it.
// - The body takes the push and friction of such steep contacts at its centre of mass
//   (centreSideContacts), so a wall stops or deflects a car but never turns it over.
// - The tyre's friction acts on the car at a point lifted from the contact toward the
//   car's centre of mass (frictionLift of the way, along the contact normal): a car whose
//   centre of mass sits just above its axles would otherwise trip over its own tyres
//   when it slides sideways onto a bank or lands across its direction of travel.
// - Drive and brake: the wheel spins with inertia r^2 / (2 * inverse wheel mass). The
//   motor passes on to the tyre at most what it can carry at its current load
//   (traction limit), in proportion to the motor torque up to the tuning's full drive
//   torque, so that partial throttle gives partial drive; a driven wheel never slips by more than
//   the extremum slip, so the motor's surplus is dropped instead of being stored in a wildly
//   spinning wheel (hundreds of N*m on a 0.1 kg*m^2 wheel would add 100 rad/s per
//   sub-step). A wheel in the air keeps its speed; the motor does not spin it up. The
//   brake works against the wheel's spin up to the brake torque; a wheel it holds
//   standing still passes the tyre's friction straight to the brake, which lets a parked
//   car stand on a slope. With anti-lock brakes the brake torque is capped at a share of
//   what the tyre can pass to the ground at its load beside its sideways force, and a
//   wheel in the air is not braked, so a braking wheel keeps turning.
// - The car carries the air drag of its body description (acceleration airDrag * v^2),
//   and never sleeps: raycast wheels make no contacts that would wake it.

namespace Physics {

namespace {

constexpr float frictionLift = 0.7f;
// The steepest ground a tyre stands on: cos(55 degrees) between the ground's normal
// and the direction against gravity.
constexpr float maxGroundSlopeCosine = 0.5736f;
constexpr float dampingRatio = 1.0f;
constexpr float bumpStopErp = 0.2f;
constexpr float maxBumpStopSpeed = 1.0f; // the fastest a bottomed-out wheel is pushed out
constexpr int normalPasses = 4;
constexpr int maxFrictionPasses = 12;
constexpr float convergedImpulse = 1e-6f; // N*s: a pass that changes less ends the loop
constexpr float minSlipSpeed = 0.5f;
constexpr float standingRimSpeed = 1e-4f;

class WheelRay : public btCollisionWorld::ClosestRayResultCallback {
public:
    WheelRay(const btVector3& from, const btVector3& to)
        : ClosestRayResultCallback(from, to),
          inverse(inverseOf(to - from)), signs{inverse.x() < 0.0f, inverse.y() < 0.0f,
                                               inverse.z() < 0.0f} {}

    btScalar addSingleResult(btCollisionWorld::LocalRayResult& result,
                             bool normalInWorldSpace) override {
        childIndex =
            result.m_localShapeInfo != nullptr ? result.m_localShapeInfo->m_triangleIndex : 0;
        return ClosestRayResultCallback::addSingleResult(result, normalInWorldSpace);
    }

    int childIndex = 0;
    // The inverse of the ray's direction and its signs, for the test against bounds.
    btVector3 inverse;
    unsigned int signs[3];

private:
    static btVector3 inverseOf(const btVector3& delta) {
        return btVector3(delta.x() != 0.0f ? 1.0f / delta.x() : BT_LARGE_FLOAT,
                         delta.y() != 0.0f ? 1.0f / delta.y() : BT_LARGE_FLOAT,
                         delta.z() != 0.0f ? 1.0f / delta.z() : BT_LARGE_FLOAT);
    }
};

// The objects whose bounds meet a box, but for the car itself.
class Nearby : public btBroadphaseAabbCallback {
public:
    explicit Nearby(const btCollisionObject* self) : self(self) {}

    bool process(const btBroadphaseProxy* proxy) override {
        auto* object = static_cast<btCollisionObject*>(proxy->m_clientObject);
        if (object != self) {
            objects.push_back(object);
        }
        return true;
    }

    std::vector<btCollisionObject*> objects;

private:
    const btCollisionObject* self;
};

// The ray of one wheel: from one radius above the mount point to the end of the
// suspension's reach, and the wheel's axes.
struct WheelAxes {
    btVector3 up, side, ahead, from, to;
};

// The car's velocities during a sub-step. The wheels' impulses change these copies,
// which go back to the body at the end.
struct CarBody {
    btVector3 linear;
    btVector3 angular;
    float inverseMass;
    btMatrix3x3 inverseInertia;
};

// One constraint direction at a contact: the velocity along it and the change an
// impulse along it makes, for the car and for a dynamic body under the wheel.
struct Row {
    btVector3 direction{0, 0, 0};
    btVector3 carArm{0, 0, 0};  // arm x direction
    btVector3 carTurn{0, 0, 0}; // angular velocity per unit impulse
    btVector3 otherArm{0, 0, 0};
    float inverseMass = 0.0f; // both bodies together

    void setUp(const CarBody& car, const btVector3& arm, const btVector3& along, btRigidBody* other,
               const btVector3& armOther) {
        direction = along;
        carArm = arm.cross(along);
        carTurn = car.inverseInertia * carArm;
        inverseMass = car.inverseMass + carArm.dot(carTurn);
        if (other != nullptr) {
            otherArm = armOther.cross(along);
            inverseMass +=
                other->getInvMass() + otherArm.dot(other->getInvInertiaTensorWorld() * otherArm);
        }
    }

    float velocity(const CarBody& car, const btRigidBody* other) const {
        float v = direction.dot(car.linear) + carArm.dot(car.angular);
        if (other != nullptr) {
            v -= direction.dot(other->getLinearVelocity()) +
                 otherArm.dot(other->getAngularVelocity());
        }
        return v;
    }

    void apply(CarBody& car, btRigidBody* other, float impulse) const {
        car.linear += direction * (impulse * car.inverseMass);
        car.angular += carTurn * impulse;
        if (other != nullptr) {
            applyTo(*other, -impulse);
        }
    }

    void applyTo(btRigidBody& other, float impulse) const {
        other.activate();
        other.applyCentralImpulse(direction * impulse);
        other.applyTorqueImpulse(otherArm * impulse);
    }
};

// The working state of one wheel during a sub-step.
struct WheelWork {
    WheelShape* wheel = nullptr;
    bool touching = false;
    btRigidBody* other = nullptr;
    btVector3 point{0, 0, 0};
    float distance = 0.0f;
    float compression = 0.0f;
    float invWheelInertia = 0.0f;

    Row normal;
    Row longitudal;
    Row lateral;
    float softMass = 0.0f;
    float softBias = 0.0f;
    float softGamma = 0.0f;
    bool springActive = false;
    bool bumpActive = false;
    float bumpBias = 0.0f;
    float wheelLongitudalMass = 0.0f; // inverse mass along the rolling direction with the spin
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
        : actor(actor), body(body), world(world), h(h),
          pose(body.getCenterOfMassTransform() * actor.getBody().massLocal.inverse()) {
        car.linear = body.getLinearVelocity();
        car.angular = body.getAngularVelocity();
        car.inverseMass = body.getInvMass();
        car.inverseInertia = body.getInvInertiaTensorWorld();
    }

    void run() {
        anticipateGravityAndDrag(1.0f);
        const std::vector<WheelShape*>& wheels = actor.getWheels();
        work.resize(wheels.size());
        std::vector<WheelAxes> axes(wheels.size());
        btVector3 low(SIMD_INFINITY, SIMD_INFINITY, SIMD_INFINITY);
        btVector3 high = -low;
        for (std::size_t i = 0; i < wheels.size(); ++i) {
            axes[i] = axesOf(*wheels[i]);
            for (const btVector3& end : {axes[i].from, axes[i].to}) {
                low.setMin(end);
                high.setMax(end);
            }
        }
        // One look-up in the broadphase for all the car's rays.
        Nearby nearby(&body);
        world.getBroadphase()->aabbTest(low, high, nearby);
        std::vector<WheelRay> rays;
        rays.reserve(wheels.size());
        for (const WheelAxes& a : axes) {
            rays.emplace_back(a.from, a.to);
        }
        castRays(rays, nearby.objects);
        for (std::size_t i = 0; i < wheels.size(); ++i) {
            prepare(work[i], *wheels[i], axes[i], rays[i]);
        }
        for (int pass = 0; pass < normalPasses; ++pass) {
            for (WheelWork& w : work) {
                solveNormal(w);
            }
        }
        for (const WheelWork& w : work) {
            drive(w);
        }
        for (int pass = 0; pass < maxFrictionPasses; ++pass) {
            float change = 0.0f;
            for (WheelWork& w : work) {
                change = std::max({change, solveNormal(w), solveBrake(w), solveFriction(w)});
            }
            if (change < convergedImpulse) {
                break;
            }
        }
        for (const WheelWork& w : work) {
            limitWheelSpin(w);
            report(w);
        }
        anticipateGravityAndDrag(-1.0f);
        body.setLinearVelocity(car.linear);
        body.setAngularVelocity(car.angular);
    }

private:
    // Adds (sign 1) or takes back (sign -1) the gravity the world's solver will apply.
    // Drag is applied on the way in only.
    void anticipateGravityAndDrag(float sign) {
        car.linear += sign * body.getGravity() * h;
        if (sign > 0.0f) {
            const float drag = actor.getBody().airDrag;
            const float slowdown = std::min(1.0f, drag * car.linear.length() * h);
            car.linear -= car.linear * slowdown;
        }
    }

    WheelAxes axesOf(const WheelShape& wheel) const {
        const btTransform mountPose = pose * toBullet(wheel.getLocalPose());
        const btMatrix3x3& basis = mountPose.getBasis();
        const btVector3 mount = mountPose.getOrigin();
        WheelAxes a;
        a.up = basis.getColumn(1).normalized();
        a.side = basis.getColumn(0);
        a.ahead = basis.getColumn(2);
        a.from = mount + a.up * wheel.radius;
        a.to = mount - a.up * (wheel.radius + wheel.suspensionTravel);
        return a;
    }

    // Casts the wheels' rays against the objects near the car.
    static void castRays(std::vector<WheelRay>& rays,
                         const std::vector<btCollisionObject*>& objects) {
        for (btCollisionObject* object : objects) {
            btBroadphaseProxy* proxy = object->getBroadphaseHandle();
            if (const HeightFieldShape* field = heightFieldOf(object)) {
                // The height field's own ray cast, far quicker than Bullet's for short rays.
                const btTransform frame =
                    object->getWorldTransform() * field->getCollisionGeometry()->offset.inverse();
                for (WheelRay& ray : rays) {
                    if (ray.needsCollision(proxy)) {
                        castRay(ray, *object, *field, frame);
                    }
                }
                continue;
            }
            const btVector3 bounds[2] = {proxy->m_aabbMin, proxy->m_aabbMax};
            for (WheelRay& ray : rays) {
                btScalar entry = 0.0f;
                if (ray.needsCollision(proxy) &&
                    btRayAabb2(ray.m_rayFromWorld, ray.inverse, ray.signs, bounds, entry, 0.0f,
                               ray.m_closestHitFraction)) {
                    const btTransform from(btMatrix3x3::getIdentity(), ray.m_rayFromWorld);
                    const btTransform to(btMatrix3x3::getIdentity(), ray.m_rayToWorld);
                    btCollisionWorld::rayTestSingle(from, to, object, object->getCollisionShape(),
                                                    object->getWorldTransform(), ray);
                }
            }
        }
    }

    static void castRay(WheelRay& ray, const btCollisionObject& object,
                        const HeightFieldShape& field, const btTransform& frame) {
        float fraction = 0.0f;
        Vec3 normal;
        if (field.raycast(fromBullet(frame.invXform(ray.m_rayFromWorld)),
                          fromBullet(frame.invXform(ray.m_rayToWorld)), fraction, normal) &&
            fraction < ray.m_closestHitFraction) {
            ray.m_closestHitFraction = fraction;
            ray.m_collisionObject = &object;
            ray.m_hitNormalWorld = frame.getBasis() * toBullet(normal);
            ray.m_hitPointWorld.setInterpolate3(ray.m_rayFromWorld, ray.m_rayToWorld, fraction);
            ray.childIndex = 0;
        }
    }

    // Whether ground with this normal is too steep for a tyre to stand on.
    bool tooSteep(const btVector3& normal) const {
        const btVector3& gravity = body.getGravity();
        if (gravity.length2() == 0.0f || normal.length2() == 0.0f) {
            return false;
        }
        return std::fabs(normal.normalized().dot(-gravity.normalized())) < maxGroundSlopeCosine;
    }

    void prepare(WheelWork& w, WheelShape& wheel, const WheelAxes& a, const WheelRay& ray) {
        w = WheelWork();
        w.wheel = &wheel;
        const bool overridden = (wheel.wheelFlags & WF_AXLE_SPEED_OVERRIDE) != 0;
        w.invWheelInertia =
            overridden ? 0.0f : 2.0f * wheel.inverseWheelMass / (wheel.radius * wheel.radius);

        const btVector3& up = a.up;
        const float reach = wheel.radius + wheel.suspensionTravel;
        if (!ray.hasHit() || tooSteep(ray.m_hitNormalWorld)) {
            wheel.contactShape = nullptr;
            return;
        }
        w.touching = true;
        w.distance = ray.m_closestHitFraction * (wheel.radius + reach) - wheel.radius;
        w.compression = reach - w.distance;
        w.point = ray.m_hitPointWorld;
        btVector3 normal = (wheel.wheelFlags & WF_WHEEL_AXIS_CONTACT_NORMAL) != 0
                               ? up
                               : ray.m_hitNormalWorld.normalized();
        if (normal.dot(up) < 0.0f) {
            normal = -normal;
        }
        const btVector3 heading =
            a.ahead * std::cos(wheel.steerAngle) + a.side * std::sin(wheel.steerAngle);
        btVector3 longitudal = heading - normal * heading.dot(normal);
        if (longitudal.length2() < 1e-8f) {
            longitudal = normal.cross(a.side);
        }
        longitudal.normalize();
        const btVector3 lateral = normal.cross(longitudal);

        btRigidBody* hitBody = const_cast<btRigidBody*>(btRigidBody::upcast(ray.m_collisionObject));
        w.other = hitBody != nullptr && hitBody->getInvMass() > 0.0f ? hitBody : nullptr;
        const btVector3 arm = w.point - body.getCenterOfMassPosition();
        const btVector3 armOther =
            w.other != nullptr ? w.point - w.other->getCenterOfMassPosition() : btVector3(0, 0, 0);
        const btVector3 frictionArm = arm - normal * (arm.dot(normal) * frictionLift);
        w.normal.setUp(car, arm, normal, w.other, armOther);
        w.longitudal.setUp(car, frictionArm, longitudal, w.other, armOther);
        w.lateral.setUp(car, frictionArm, lateral, w.other, armOther);
        wheel.contactShape = ActorBody::shapeOf(ray.m_collisionObject, ray.childIndex);

        prepareSuspension(w);
        prepareFriction(w);
    }

    void prepareSuspension(WheelWork& w) {
        const WheelShape& wheel = *w.wheel;
        const float travel = wheel.suspensionTravel;
        const float target = wheel.suspension.targetValue * travel;
        const float share = 1.0f / static_cast<float>(actor.getWheels().size());
        const float load = actor.getMass() * body.getGravity().length() * share;
        const float sag = 0.5f * (travel - target);
        const float stiffness =
            sag > 0.0f ? std::max(wheel.suspension.spring, load / sag) : wheel.suspension.spring;
        const float sprungMass = actor.getMass() * share;
        const float damping = std::min(wheel.suspension.damper,
                                       2.0f * dampingRatio * std::sqrt(stiffness * sprungMass));
        const float softness = damping + h * stiffness;
        w.springActive = softness > 0.0f;
        if (w.springActive) {
            w.softGamma = 1.0f / (h * softness);
            w.softBias = stiffness / softness * -(w.compression - target);
            w.softMass = 1.0f / (w.normal.inverseMass + w.softGamma);
        }
        const float penetration = w.compression - travel;
        w.bumpActive = penetration > 0.0f;
        w.bumpBias = -std::min(bumpStopErp * penetration / h, maxBumpStopSpeed);
    }

    void prepareFriction(WheelWork& w) {
        const WheelShape& wheel = *w.wheel;
        w.wheelLongitudalMass =
            w.longitudal.inverseMass + wheel.radius * wheel.radius * w.invWheelInertia;
        const float forward = w.longitudal.velocity(car, w.other);
        const float sideways = w.lateral.velocity(car, w.other);
        const float slipVelocity = wheel.axleSpeed * wheel.radius - forward;
        const float speed = std::max(std::fabs(forward), minSlipSpeed);
        w.longitudalSlip = (wheel.wheelFlags & WF_INPUT_LNG_SLIPVELOCITY) != 0
                               ? slipVelocity
                               : slipVelocity / speed;
        w.lateralSlip = (wheel.wheelFlags & WF_INPUT_LAT_SLIPVELOCITY) != 0
                            ? sideways
                            : std::atan2(sideways, std::max(std::fabs(forward),
                                                            wheel.tuning.slipAngleFloorSpeed));
        const bool clamped = (wheel.wheelFlags & WF_CLAMPED_FRICTION) != 0;
        w.longitudalFriction = frictionCoefficient(wheel.longitudal, w.longitudalSlip, clamped,
                                                   wheel.tuning.maxLongitudalFriction);
        w.lateralFriction = frictionCoefficient(wheel.lateral, w.lateralSlip, clamped,
                                                wheel.tuning.maxLateralFriction);
    }

    // Each solve returns the largest change it made to an impulse.
    float solveNormal(WheelWork& w) {
        if (!w.touching) {
            return 0.0f;
        }
        float change = 0.0f;
        if (w.springActive) {
            const float closing = w.normal.velocity(car, w.other);
            const float delta =
                -w.softMass * (closing + w.softBias + w.softGamma * w.springImpulse);
            const float total = std::max(0.0f, w.springImpulse + delta);
            w.normal.apply(car, w.other, total - w.springImpulse);
            change = std::fabs(total - w.springImpulse);
            w.springImpulse = total;
        }
        if (w.bumpActive && w.normal.inverseMass > 0.0f) {
            const float closing = w.normal.velocity(car, w.other);
            const float delta = -(closing + w.bumpBias) / w.normal.inverseMass;
            const float total = std::max(0.0f, w.bumpImpulse + delta);
            w.normal.apply(car, w.other, total - w.bumpImpulse);
            change = std::max(change, std::fabs(total - w.bumpImpulse));
            w.bumpImpulse = total;
        }
        return change;
    }

    // The torque the tyre can pass to the ground at its current load.
    float tractionTorque(const WheelWork& w) const {
        const WheelShape& wheel = *w.wheel;
        const float peak = frictionCoefficient(wheel.longitudal, 0.0f,
                                               (wheel.wheelFlags & WF_CLAMPED_FRICTION) != 0,
                                               wheel.tuning.maxLongitudalFriction);
        return peak * w.normalImpulse() / h * wheel.radius;
    }

    // The motor's torque, limited to the share of the tyre's traction it asks for.
    void drive(const WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (!w.touching || w.invWheelInertia == 0.0f) {
            return;
        }
        const float traction = tractionTorque(w);
        const float demand =
            std::min(1.0f, std::fabs(wheel.motorTorque) / wheel.tuning.fullDriveTorque);
        const float limit = traction * demand;
        const float torque = std::clamp(wheel.motorTorque, -limit, limit);
        wheel.axleSpeed += torque * h * w.invWheelInertia;
    }

    // The brake torque the wheel receives. Anti-lock brakes release a wheel in the air,
    // which would otherwise land locked, and on the ground give it no more than what the
    // friction ellipse leaves the tyre along its rolling direction beside the sideways
    // force it carries (a braking wheel in a bend would lock on the whole of its grip).
    float brakeLimit(const WheelWork& w) const {
        const WheelShape& wheel = *w.wheel;
        if (wheel.tuning.antiLockShare <= 0.0f) {
            return wheel.brakeTorque;
        }
        if (!w.touching) {
            return 0.0f;
        }
        const float maxLateral = w.lateralFriction * w.normalImpulse();
        const float sideways =
            maxLateral > 0.0f ? std::min(1.0f, std::fabs(w.lateralImpulse) / maxLateral) : 0.0f;
        const float along = std::sqrt(1.0f - sideways * sideways);
        return std::min(wheel.brakeTorque, wheel.tuning.antiLockShare * along * tractionTorque(w));
    }

    float solveBrake(WheelWork& w) const {
        WheelShape& wheel = *w.wheel;
        if (wheel.brakeTorque <= 0.0f || w.invWheelInertia == 0.0f) {
            return 0.0f;
        }
        const float torque = brakeLimit(w);
        const float limit = torque * h;
        const float total =
            std::clamp(w.brakeImpulse - wheel.axleSpeed / w.invWheelInertia, -limit, limit);
        wheel.axleSpeed += (total - w.brakeImpulse) * w.invWheelInertia;
        const float change = std::fabs(total - w.brakeImpulse);
        w.brakeImpulse = total;
        return change;
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

    // Tyre friction. A wheel that its brake holds standing still passes the friction to
    // the brake (the tyre then works against the car alone), up to the brake's torque;
    // otherwise the friction turns the wheel against its own inertia.
    float solveFriction(WheelWork& w) {
        WheelShape& wheel = *w.wheel;
        if (!w.touching) {
            return 0.0f;
        }
        const float forward = w.longitudal.velocity(car, w.other);
        const float rolling = forward - wheel.axleSpeed * wheel.radius;
        const float lateralTarget =
            w.lateralImpulse - w.lateral.velocity(car, w.other) / w.lateral.inverseMass;
        float longitudal = 0.0f;
        float lateral = lateralTarget;
        bool held = false;
        const bool standing = std::fabs(wheel.axleSpeed * wheel.radius) <= standingRimSpeed;
        if (standing && wheel.brakeTorque > 0.0f && w.invWheelInertia > 0.0f) {
            longitudal = w.longitudalImpulse - rolling / w.longitudal.inverseMass;
            limitFriction(w, longitudal, lateral);
            const float brake = w.brakeImpulse + (longitudal - w.longitudalImpulse) * wheel.radius;
            held = std::fabs(brake) <= brakeLimit(w) * h;
            if (held) {
                w.brakeImpulse = brake;
            }
        }
        if (!held) {
            longitudal = w.longitudalImpulse - rolling / w.wheelLongitudalMass;
            lateral = lateralTarget;
            limitFriction(w, longitudal, lateral);
            wheel.axleSpeed -=
                (longitudal - w.longitudalImpulse) * wheel.radius * w.invWheelInertia;
        }
        w.longitudal.apply(car, w.other, longitudal - w.longitudalImpulse);
        w.lateral.apply(car, w.other, lateral - w.lateralImpulse);
        const float change = std::max(std::fabs(longitudal - w.longitudalImpulse),
                                      std::fabs(lateral - w.lateralImpulse));
        w.longitudalImpulse = longitudal;
        w.lateralImpulse = lateral;
        return change;
    }

    // Traction limit, second half: a driven wheel slips at most by the extremum slip,
    // beyond which the tyre would pass on less; the motor's surplus is not stored.
    void limitWheelSpin(const WheelWork& w) const {
        WheelShape& wheel = *w.wheel;
        if (!w.touching || wheel.motorTorque == 0.0f || w.invWheelInertia == 0.0f) {
            return;
        }
        const float forward = w.longitudal.velocity(car, w.other);
        const float extremum = wheel.longitudal.extremumSlip;
        const float maxSlip = (wheel.wheelFlags & WF_INPUT_LNG_SLIPVELOCITY) != 0
                                  ? extremum
                                  : extremum * std::max(std::fabs(forward), minSlipSpeed);
        const float slip = std::clamp(wheel.axleSpeed * wheel.radius - forward, -maxSlip, maxSlip);
        wheel.axleSpeed = (forward + slip) / wheel.radius;
    }

    void report(const WheelWork& w) const {
        WheelShape& wheel = *w.wheel;
        if (!w.touching) {
            return;
        }
        WheelContactData& contact = wheel.contact;
        contact.contactPoint = fromBullet(w.point);
        contact.contactNormal = fromBullet(w.normal.direction);
        contact.longitudalDirection = fromBullet(w.longitudal.direction);
        contact.lateralDirection = fromBullet(w.lateral.direction);
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
    btTransform pose; // the actor's frame
    CarBody car;
    std::vector<WheelWork> work;
};

void WheelSolver::step(Actor& actor, btDynamicsWorld& world, float h) {
    btRigidBody* body = actor.getBody().rigidBody.get();
    if (body == nullptr || actor.getWheels().empty() || h <= 0.0f) {
        return;
    }
    CarStep(actor, *body, world, h).run();
}

void WheelSolver::centreSideContacts(btDispatcher& dispatcher, const btVector3& gravity) {
    if (gravity.length2() == 0.0f) {
        return;
    }
    const btVector3 down = gravity.normalized();
    for (int i = 0; i < dispatcher.getNumManifolds(); ++i) {
        btPersistentManifold& manifold = *dispatcher.getManifoldByIndexInternal(i);
        for (const bool first : {true, false}) {
            const btCollisionObject* object = first ? manifold.getBody0() : manifold.getBody1();
            const auto* actor = static_cast<const Actor*>(object->getUserPointer());
            const btRigidBody* body = btRigidBody::upcast(object);
            if (actor == nullptr || actor->getWheels().empty() || body == nullptr) {
                continue;
            }
            for (int k = 0; k < manifold.getNumContacts(); ++k) {
                btManifoldPoint& contact = manifold.getContactPoint(k);
                if (std::fabs(contact.m_normalWorldOnB.dot(down)) < maxGroundSlopeCosine) {
                    (first ? contact.m_positionWorldOnA : contact.m_positionWorldOnB) =
                        body->getCenterOfMassPosition();
                }
            }
        }
    }
}

void WheelSolver::forgetContactWith(WheelShape& wheel, const Actor& other) {
    if (wheel.contactShape != nullptr && &wheel.contactShape->getActor() == &other) {
        wheel.contactShape = nullptr;
    }
}

} // namespace Physics
