#include "Game/vehicle/VehicleObject.h"

#include "Data/KeyTable.h"
#include "Data/Material.h"
#include "Game/InputListeners.h"
#include "Game/vehicle/ComputerDriver.h"
#include "Physics/Actor.h"
#include "Physics/Scene.h"
#include "Physics/WheelShape.h"
#include "Platform/Keys.h"
#include "Tool/LogManager.h"

#include <algorithm>
#include <cmath>

namespace Game {

namespace {

constexpr float twoPi = 6.28f;
// Below this the throttle counts as closed: a car that slow stands on its brakes.
constexpr float idleThrottle = 0.05f;

} // namespace

VehicleObject::VehicleObject(const std::string& name) : DynamicObject(name) {}

VehicleObject::~VehicleObject() = default;

bool VehicleObject::createVehicle(Level* owner, const Data::SGNodePtr& model,
                                  const VehicleDesc& desc, const glm::vec3& colour) {
    const glm::vec3 paint = colour / 255.0f;
    for (const ShapeEntry& entry : desc.shapes) {
        if (const Data::SGNodePtr body = model->findByName(entry.nodeName)) {
            auto material = std::make_shared<Data::Material>();
            material->set(Data::MP_DIFFUSE, glm::vec4(paint * 1.2f, 1.0f));
            material->set(Data::MP_AMBIENT, glm::vec4(paint * 0.75f, 1.0f));
            body->setMaterial(material);
        }
    }
    tuning = desc.tuning;
    airDrag = tuning.airDrag;
    const bool created = createDynamic(owner, model, desc, desc.mass);

    control = desc.control;
    if (control.aiEnabled) {
        computerDriver = std::make_unique<ComputerDriver>(control.aiDifficulty);
    }
    brakeRamp = {0.0f,
                 0.0f,
                 0.0f,
                 desc.maxBrakeTorque,
                 desc.maxBrakeTorque / desc.brakeTime,
                 desc.maxBrakeTorque / desc.brakeTime};
    steeringRamp = {0.0f, 0.0f, -1.0f, 1.0f, 1.0f / desc.steerTime, 4.0f / 3.0f};
    throttleRamp.lag = tuning.throttleLag;

    // Tyre grip comes from the tire functions alone.
    Physics::MaterialDesc wheelMaterialDesc = desc.wheelMaterial;
    wheelMaterialDesc.flags |= Physics::MF_DISABLE_FRICTION;
    if (Physics::Scene* scene = owner != nullptr ? owner->getScene() : nullptr) {
        wheelMaterial = scene->createMaterial(wheelMaterialDesc);
    }
    for (const WheelDesc& wheelDesc : desc.wheels) {
        const Data::SGNodePtr wheelNode = model->findByName(wheelDesc.name);
        if (!wheelNode) {
            Tool::LogManager::getInstance().send(
                Tool::Message("VehicleObject", "Coudln't create Wheel; SceneNode not found",
                              wheelDesc.name, __FILE__, __LINE__, Tool::MT_ERROR));
            continue;
        }
        auto wheel = std::make_shared<Wheel>(wheelNode, wheelDesc);
        Physics::WheelShapeDesc& shapeDesc = wheel->getShapeDesc();
        shapeDesc.materialIndex = wheelMaterial != nullptr ? wheelMaterial->getMaterialIndex() : 0;
        shapeDesc.tuning = {tuning.fullDriveTorque, tuning.maxLongitudalFriction,
                            tuning.maxLateralFriction, tuning.antiLockShare,
                            tuning.slipAngleFloorSpeed};
        wheels.push_back(wheel);
        if (wheelDesc.driven) {
            drivenWheels.push_back(wheel);
        }
        if (wheelDesc.braked) {
            brakedWheels.push_back(wheel);
        }
        if (wheelDesc.steerable) {
            steerableWheels.push_back(wheel);
        }
        shapes.push_back(std::make_unique<Physics::WheelShapeDesc>(wheel->getShapeDesc()));
    }
    Tool::LogManager::getInstance().send(
        Tool::Message("VehicleObject", "Initialised VehicleObject .. [OK]",
                      "Wheels: " + std::to_string(wheels.size()) +
                          " Driven: " + std::to_string(drivenWheels.size()) +
                          " Braked: " + std::to_string(brakedWheels.size()) +
                          " Steerable: " + std::to_string(steerableWheels.size()),
                      Tool::MT_MESSAGE));
    return created;
}

Physics::Actor* VehicleObject::createActor() {
    Physics::Actor* created = DynamicObject::createActor();
    if (created == nullptr) {
        return nullptr;
    }
    // The wheel shapes are the actor's last shapes, in wheel order.
    const std::uint32_t first = created->getNbShapes() - static_cast<std::uint32_t>(wheels.size());
    for (std::size_t i = 0; i < wheels.size(); ++i) {
        Physics::Shape* shape = created->getShape(first + static_cast<std::uint32_t>(i));
        Physics::WheelShape* wheelShape = shape != nullptr ? shape->isWheel() : nullptr;
        wheels[i]->setShape(wheelShape);
        if (wheelShape != nullptr) {
            wheelShape->setMotorTorque(0.0f);
            wheelShape->setBrakeTorque(0.0f);
        }
    }
    created->wakeUp(0.4f);
    return created;
}

float VehicleObject::torqueAt(float turns) const {
    const std::array<float, 6>& curve = tuning.torqueCurve;
    const float u = std::clamp(turns, 1000.0f, 6000.0f) / 1000.0f - 1.0f;
    const auto k = static_cast<std::size_t>(u);
    if (k >= curve.size() - 1) {
        return curve.back();
    }
    const float fraction = u - static_cast<float>(k);
    return curve[k] + (curve[k + 1] - curve[k]) * fraction;
}

float VehicleObject::getForwardSpeed() const {
    if (actor == nullptr) {
        return 0.0f;
    }
    return glm::dot(actor->getLinearVelocity(), getRotation() * glm::vec3(0.0f, 0.0f, 1.0f));
}

void VehicleObject::shiftGears() {
    const std::vector<float>& ratios = tuning.gearRatios;
    if (ratios.empty()) {
        engineSpeed = std::max(tuning.idleSpeed, std::fabs(rpm));
        return;
    }
    const auto turnsIn = [&](std::size_t g) {
        return std::fabs(rpm) * ratios[g] * tuning.finalDrive;
    };
    gear = std::min(gear, ratios.size() - 1);
    if (reversing) {
        gear = 0;
    } else if (gear + 1 < ratios.size() && turnsIn(gear) > tuning.upshiftSpeed) {
        ++gear;
    } else if (gear > 0 && turnsIn(gear) < tuning.downshiftSpeed) {
        --gear;
    }
    engineSpeed = std::max(tuning.idleSpeed, turnsIn(gear));
}

void VehicleObject::driveWheels(float motorTorque, float brakeTorque) {
    for (const WheelPtr& wheel : drivenWheels) {
        if (wheel->getShape() != nullptr) {
            wheel->getShape()->setMotorTorque(motorTorque);
        }
    }
    for (const WheelPtr& wheel : brakedWheels) {
        if (wheel->getShape() != nullptr) {
            wheel->getShape()->setBrakeTorque(brakeTorque);
        }
    }
}

void VehicleObject::update(double frameTime) {
    // Controls, engine and race progress run on simulated time, as the car itself does.
    const double dt = level != nullptr ? level->getStepTime() : frameTime;
    // Before the start the car stands on its brakes with the engine disengaged; the
    // keys still move throttle and steering, so a held key takes effect at once.
    const bool held = level != nullptr && !level->isRaceStarted();
    if (computerDriver && level != nullptr && !held) {
        computerDriver->drive(*this, *level, dt);
    }
    throttleRamp.update(dt);
    brakeRamp.update(dt);
    steeringRamp.update(dt);
    throttle = std::clamp(throttleRamp.current, 0.0f, 1.0f);

    float axleSum = 0.0f;
    for (const WheelPtr& wheel : wheels) {
        if (wheel->getShape() != nullptr) {
            axleSum += wheel->getShape()->getAxleSpeed();
        }
    }
    const float meanAxleSpeed = wheels.empty() ? 0.0f : axleSum / static_cast<float>(wheels.size());
    rpm = meanAxleSpeed * 60.0f / twoPi;
    const glm::vec3 before = position;
    updateFromActor();
    distanceDriven += glm::length(position - before);

    // The brake key drives backwards once the car stands, until it is let go.
    const float forward = getForwardSpeed();
    reversing =
        braking && !accelerating && !finished && (reversing || forward < tuning.standingSpeed);
    shiftGears();
    if (held) {
        driveWheels(0.0f, brakeRamp.maximum);
    } else if (reversing) {
        driveWheels(forward > -tuning.reverseTopSpeed ? -tuning.reverseTorque : 0.0f, 0.0f);
    } else if (!accelerating && !braking && throttle < idleThrottle &&
               std::fabs(forward) < tuning.holdSpeed) {
        driveWheels(0.0f, brakeRamp.maximum);
    } else {
        const float ratio =
            tuning.gearRatios.empty() ? 1.0f : tuning.gearRatios[gear] * tuning.finalDrive;
        driveWheels(torqueAt(engineSpeed) * ratio * throttle, brakeRamp.current);
    }
    steerWheels(std::clamp(steeringRamp.current, -1.0f, 1.0f));
    for (const WheelPtr& wheel : wheels) {
        wheel->follow(dt);
    }
    if (!held) {
        updateRaceProgress(dt);
    }
    speed = drivenWheels.empty() || drivenWheels.front()->getShape() == nullptr
                ? 0.0f
                : drivenWheels.front()->getShape()->getRadius() * meanAxleSpeed * twoPi;
}

void VehicleObject::steerWheels(float steer) {
    // The rear axle's line: the turn's centre lies on it.
    float rearSum = 0.0f;
    int rearCount = 0;
    for (const WheelPtr& wheel : wheels) {
        if (std::find(steerableWheels.begin(), steerableWheels.end(), wheel) ==
            steerableWheels.end()) {
            rearSum += wheel->getShapeDesc().localPose.t.z;
            ++rearCount;
        }
    }
    for (const WheelPtr& wheel : steerableWheels) {
        Physics::WheelShape* shape = wheel->getShape();
        if (shape == nullptr) {
            continue;
        }
        const float degrees =
            steer * (steer < 0.0f ? wheel->getMaxSteerNegative() : wheel->getMaxSteerPositive());
        float radians = degrees * twoPi / 360.0f;
        // Steering geometry: the lock is the angle of a wheel midway between the front
        // wheels; each wheel points at the turn's centre, the inner one further.
        const glm::vec3 mount = wheel->getShapeDesc().localPose.t;
        const float wheelbase =
            rearCount > 0 ? mount.z - rearSum / static_cast<float>(rearCount) : 0.0f;
        if (wheelbase > 0.0f && std::fabs(radians) > 1e-4f) {
            const float turnRadius = wheelbase / std::tan(radians);
            radians = std::atan(wheelbase / (turnRadius - mount.x));
        }
        shape->setSteerAngle(radians);
    }
}

void VehicleObject::updateRaceProgress(double dt) {
    if (finished || level == nullptr || level->getCheckpoints().empty()) {
        return;
    }
    lapTime += dt;
    const std::vector<TrackPoint>& checkpoints = level->getCheckpoints();
    const TrackPoint& next = checkpoints[static_cast<std::size_t>(nextCheckpoint)];
    if (!next.contains(position.x, position.z)) {
        return;
    }
    const int last = static_cast<int>(checkpoints.size()) - 1;
    if (nextCheckpoint == 0 && lastCheckpoint == last) {
        lapTimes.push_back(lapTime);
        if (bestLap == 0.0 || bestLap > lapTime) {
            bestLap = lapTime;
        }
        lapTime = 0.0;
        if (currentLap == static_cast<int>(level->getLaps())) {
            finish();
        } else {
            ++currentLap;
        }
    }
    lastCheckpoint = nextCheckpoint;
    nextCheckpoint = nextCheckpoint == last ? 0 : nextCheckpoint + 1;
    respawn = checkpoints[static_cast<std::size_t>(lastCheckpoint)];
}

void VehicleObject::finish() {
    finished = true;
    // Keys are ignored from now on: let go of throttle and steering and brake, so
    // that the car rolls to a stop after the line.
    throttleRamp.mode = ValueRamp::RETURN;
    steeringRamp.mode = ValueRamp::RETURN;
    throttleRamp.target = steeringRamp.target = 0.0f;
    brakeRamp.mode = ValueRamp::DRIVE_UP;
    accelerating = braking = false;
}

void VehicleObject::setFunction(Function function, bool pressed) {
    if (finished) {
        return;
    }
    if (pressed) {
        switch (function) {
        case ACCELERATE:
            // The foot leaves the brake for the accelerator: the brake the ramp had
            // built up (also while reversing) would otherwise hold the car for seconds.
            throttleRamp.mode = ValueRamp::DRIVE_UP;
            brakeRamp.current = brakeRamp.minimum;
            accelerating = true;
            break;
        case BRAKE:
            // The foot leaves the accelerator for the brake.
            brakeRamp.mode = ValueRamp::DRIVE_UP;
            throttleRamp.current = throttleRamp.minimum;
            braking = true;
            break;
        case STEER_LEFT:
            steeringRamp.mode = ValueRamp::DRIVE_UP;
            break;
        case STEER_RIGHT:
            steeringRamp.mode = ValueRamp::DRIVE_DOWN;
            break;
        case RESET:
            reset();
            break;
        }
        return;
    }
    switch (function) {
    case ACCELERATE:
        throttleRamp.mode = ValueRamp::RETURN;
        brakeRamp.current = brakeRamp.minimum;
        accelerating = false;
        break;
    case BRAKE:
        brakeRamp.mode = ValueRamp::RETURN;
        throttleRamp.current = throttleRamp.minimum;
        braking = false;
        break;
    case STEER_LEFT:
    case STEER_RIGHT:
        steeringRamp.mode = ValueRamp::RETURN;
        break;
    case RESET:
        break;
    }
}

void VehicleObject::onKey(int key, int action) {
    if (finished || computerDriver || (action != Platform::PRESS && action != Platform::RELEASE)) {
        return;
    }
    const bool pressed = action == Platform::PRESS;
    // The bindings come in the order of the functions.
    const std::array<std::uint32_t, 5> bindings = control.bindings();
    for (std::size_t function = 0; function < bindings.size(); ++function) {
        if (Data::KeyTable::matches(bindings[function], key)) {
            setFunction(static_cast<Function>(function), pressed);
        }
    }
    if (pressed && actor != nullptr) {
        actor->wakeUp(0.4f);
    }
}

void VehicleObject::matchKeys(const std::function<bool(int)>& isDown) {
    if (finished || computerDriver) {
        return;
    }
    const std::array<std::uint32_t, 5> bindings = control.bindings();
    const auto held = [&](Function function) {
        const std::span<const int> keys = Data::KeyTable::windowKeys(bindings[function]);
        return std::any_of(keys.begin(), keys.end(), isDown);
    };
    // Only changes are applied: letting go of one pedal also clears the other's ramp.
    const auto match = [&](Function function, const ValueRamp& ramp) {
        if (held(function) != (ramp.mode == ValueRamp::DRIVE_UP)) {
            setFunction(function, held(function));
        }
    };
    match(ACCELERATE, throttleRamp);
    match(BRAKE, brakeRamp);
    const bool left = held(STEER_LEFT);
    const bool right = held(STEER_RIGHT);
    if (left != right) {
        setFunction(left ? STEER_LEFT : STEER_RIGHT, true);
    } else if (!left) {
        setFunction(STEER_LEFT, false);
    }
    if (actor != nullptr) {
        actor->wakeUp(0.4f);
    }
}

void VehicleObject::setPedals(float steering, float throttleShare, float brakeShare) {
    if (finished || computerDriver) {
        return;
    }
    // Returning ramps move to their targets: the pedals at their rates (and the
    // throttle's lag), the steering, already there, stays.
    steeringRamp.mode = throttleRamp.mode = brakeRamp.mode = ValueRamp::RETURN;
    steeringRamp.current = steeringRamp.target = std::clamp(steering, -1.0f, 1.0f);
    throttleRamp.target = std::clamp(throttleShare, 0.0f, 1.0f) * throttleRamp.maximum;
    brakeRamp.target = std::clamp(brakeShare, 0.0f, 1.0f) * brakeRamp.maximum;
    accelerating = throttleRamp.target > 0.0f;
    braking = brakeRamp.target > 0.0f;
    if ((accelerating || braking || steering != 0.0f) && actor != nullptr) {
        actor->wakeUp(0.4f);
    }
}

glm::quat VehicleObject::headingRotation(float degrees) const {
    return glm::angleAxis(degrees * twoPi / 360.0f, glm::vec3(0.0f, 1.0f, 0.0f));
}

void VehicleObject::placeAt(const TrackPoint& point) {
    const Terrain* terrain = level != nullptr ? level->getTerrain().get() : nullptr;
    const auto ground = [terrain](float x, float z) {
        return terrain != nullptr ? terrain->getHeight(x, z) : 0.0f;
    };
    const glm::quat facing = headingRotation(point.heading);
    // Each wheel meets the ground with its suspension half compressed, as it stands
    // at rest, so the car neither drops nor bounces when the race begins.
    float height = ground(point.x, point.z);
    for (const WheelPtr& wheel : wheels) {
        const Physics::WheelShapeDesc& desc = wheel->getShapeDesc();
        const glm::vec3 mount = facing * desc.localPose.t;
        const float rest = desc.radius + desc.suspensionTravel * 0.5f;
        height = std::max(height, ground(point.x + mount.x, point.z + mount.z) + rest - mount.y);
    }
    setPosition({point.x, height, point.z});
    setRotation(facing);
    if (actor != nullptr) {
        actor->setGlobalPose(Physics::Mat34(node->getTransformation()));
        actor->setLinearVelocity(glm::vec3(0.0f));
        actor->setAngularVelocity(glm::vec3(0.0f));
    }
}

void VehicleObject::reset() {
    if (actor == nullptr) {
        return;
    }
    const Terrain* terrain = level != nullptr ? level->getTerrain().get() : nullptr;
    const float ground = terrain != nullptr ? terrain->getHeight(respawn.x, respawn.z) : 0.0f;
    actor->setGlobalPose(Physics::Mat34(glm::mat3_cast(headingRotation(respawn.heading)),
                                        {respawn.x, ground + 2.0f, respawn.z}));
    actor->setLinearVelocity(glm::vec3(0.0f));
    actor->setAngularVelocity(glm::vec3(0.0f));
    actor->setLinearMomentum(glm::vec3(0.0f));
    actor->setAngularMomentum(glm::vec3(0.0f));
    updateFromActor();
}

void VehicleObject::release() {
    StaticObject::release();
    if (InputListeners* input = level != nullptr ? level->getInput() : nullptr) {
        input->detach(static_cast<KeyEventListener*>(this));
    }
}

} // namespace Game
