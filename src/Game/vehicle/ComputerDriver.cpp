#include "Game/vehicle/ComputerDriver.h"

#include "Game/level/Level.h"
#include "Game/vehicle/VehicleObject.h"
#include "Physics/Actor.h"

#include <algorithm>
#include <cmath>

namespace Game {

namespace {

constexpr float gravity = 9.81f;
// How hard a car slows with the brake coming on gradually, and how far ahead the
// driver looks for bends.
constexpr float brakingDeceleration = 3.0f;
constexpr float bendSearch = 80.0f;
// Thresholds of trouble: slower than this counts as stuck, further than this from
// the line as off the road.
constexpr float stuckSpeed = 1.0f;
constexpr double stuckTime = 3.0;
// Stuck this long, it backs off for reverseTime with the wheels turned the other way;
// after maxReversals that did not free it, it resets the car. Driving freely for
// freeTime counts as freed.
constexpr double reverseAfter = 1.0;
constexpr double reverseTime = 1.5;
constexpr int maxReversals = 2;
constexpr double freeTime = 3.0;
// How far aside it aims to pass a slower car in its way: clear of the car, inside the
// gates' posts.
constexpr float sideStepWidth = 2.4f;
constexpr double overturnedTime = 1.5;
constexpr float offRoadDistance = 25.0f;
constexpr double offRoadTime = 6.0;

glm::vec2 ground(const glm::vec3& v) {
    return {v.x, v.z};
}

// Heading change per unit of distance around point i, over a few points each side.
float curvature(const DrivingLine& line, std::size_t i) {
    const std::vector<glm::vec2>& points = line.getPoints();
    const std::size_t n = points.size();
    constexpr std::size_t span = 3;
    const glm::vec2 before = points[(i + n - span) % n];
    const glm::vec2 here = points[i];
    const glm::vec2 after = points[(i + span) % n];
    const glm::vec2 in = here - before;
    const glm::vec2 out = after - here;
    const float length = glm::length(in) + glm::length(out);
    if (length <= 0.0f) {
        return 0.0f;
    }
    const float turn = std::atan2(in.x * out.y - in.y * out.x, glm::dot(in, out));
    return std::abs(turn) / (0.5f * length);
}

} // namespace

ComputerDriver::ComputerDriver(std::uint32_t difficulty) : skill(skillFor(difficulty)) {}

ComputerDriver::Skill ComputerDriver::skillFor(std::uint32_t difficulty) {
    switch (difficulty) {
    case 0:
        return {2.6f, 15.0f, 2.0f, 0.30};
    case 1:
        return {4.0f, 20.0f, 1.0f, 0.15};
    default:
        return {5.5f, 26.0f, 0.3f, 0.05};
    }
}

std::vector<float> ComputerDriver::speedProfile(const DrivingLine& line, const Skill& skill) {
    const std::size_t n = line.getPoints().size();
    std::vector<float> allowed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float k = curvature(line, i);
        allowed[i] =
            k > 0.0f ? std::min(skill.topSpeed, std::sqrt(skill.cornerGrip / k)) : skill.topSpeed;
    }
    // A bend ahead limits the speed now to what braking can shed before it.
    std::vector<float> profile(n);
    const float loop = line.getLength();
    for (std::size_t i = 0; i < n; ++i) {
        float best = allowed[i];
        for (std::size_t step = 1; step < n; ++step) {
            const std::size_t j = (i + step) % n;
            float distance = line.distanceAt(j) - line.distanceAt(i);
            if (distance < 0.0f) {
                distance += loop;
            }
            if (distance > bendSearch) {
                break;
            }
            best = std::min(
                best, std::sqrt(allowed[j] * allowed[j] + 2.0f * brakingDeceleration * distance));
        }
        profile[i] = best;
    }
    return profile;
}

void ComputerDriver::drive(VehicleObject& car, const Level& level, double dt) {
    const DrivingLine& line = level.getDrivingLine();
    if (line.empty() || car.getActor() == nullptr || car.isFinished()) {
        return;
    }
    if (profiledLine != &line) {
        profile = speedProfile(line, skill);
        profiledLine = &line;
    }
    raceTime += dt;
    const DrivingLine::Nearest nearest = line.nearest(ground(car.getPosition()));
    if (needsReset(car, nearest.distance, dt)) {
        hold(car, VehicleObject::RESET, true);
        stuckFor = overturnedFor = offRoadFor = reversingFor = 0.0;
        reversals = 0;
        return;
    }
    hold(car, VehicleObject::RESET, false);
    sideStepFor = std::max(0.0, sideStepFor - dt);
    if (reversingFor <= 0.0 && stuckFor > reverseAfter && reversals < maxReversals) {
        // Backs off whatever holds it, the wheels turned away from where it wants to go
        // so that the nose swings toward it; the brake key reverses a standing car.
        ++reversals;
        reversingFor = reverseTime;
        stuckFor = 0.0;
        wantedSteering = -wantedSteering;
        holdEither(car, VehicleObject::ACCELERATE, false, VehicleObject::BRAKE, true);
    }
    if (reversingFor > 0.0) {
        reversingFor -= dt;
        // Decides afresh as soon as it has backed off.
        sinceDecision = skill.reaction;
    } else {
        sinceDecision += dt;
        if (sinceDecision >= skill.reaction) {
            sinceDecision = 0.0;
            decide(car, level, nearest.index);
        }
    }
    // The steering ramp is driven toward the steering wanted, like a player tapping
    // the keys.
    const float steering = car.getSteeringRamp().current;
    const bool left = wantedSteering > 0.02f && steering < wantedSteering;
    const bool right = wantedSteering < -0.02f && steering > wantedSteering;
    holdEither(car, VehicleObject::STEER_LEFT, left, VehicleObject::STEER_RIGHT, right);
}

void ComputerDriver::hold(VehicleObject& car, int function, bool pressed) {
    if (held[function] != pressed) {
        held[function] = pressed;
        car.setFunction(static_cast<VehicleObject::Function>(function), pressed);
    }
}

void ComputerDriver::holdEither(VehicleObject& car, int first, bool firstPressed, int second,
                                bool secondPressed) {
    // Releasing one of a pair undoes what the other did (the steering centres, the
    // brake or throttle drops), so both are let go before either is pressed.
    if (!firstPressed) {
        hold(car, first, false);
    }
    if (!secondPressed) {
        hold(car, second, false);
    }
    hold(car, first, firstPressed);
    hold(car, second, secondPressed);
}

bool ComputerDriver::needsReset(const VehicleObject& car, float fromLine, double dt) {
    const float speed = glm::length(car.getActor()->getLinearVelocity());
    const float up = (car.getRotation() * glm::vec3(0.0f, 1.0f, 0.0f)).y;
    stuckFor = speed < stuckSpeed ? stuckFor + dt : 0.0;
    freeFor = speed >= stuckSpeed ? freeFor + dt : 0.0;
    if (freeFor > freeTime) {
        reversals = 0;
    }
    overturnedFor = up < 0.5f ? overturnedFor + dt : 0.0;
    offRoadFor = fromLine > offRoadDistance ? offRoadFor + dt : 0.0;
    const bool stuck = reversals >= maxReversals && stuckFor > stuckTime;
    return stuck || overturnedFor > overturnedTime || offRoadFor > offRoadTime;
}

float ComputerDriver::avoidance(const VehicleObject& car, const Level& level) const {
    const glm::quat toCar = glm::inverse(car.getRotation());
    const float speed = glm::length(car.getActor()->getLinearVelocity());
    for (const auto& entry : level.getVehicles()) {
        const VehicleObject& other = *entry.second;
        if (&other == &car || other.getActor() == nullptr) {
            continue;
        }
        const glm::vec3 local = toCar * (other.getPosition() - car.getPosition());
        const float otherSpeed = glm::length(other.getActor()->getLinearVelocity());
        // A car just ahead, in the way and slower: pass on the side away from it.
        if (local.z > 0.0f && local.z < 14.0f && std::abs(local.x) < 2.6f && otherSpeed < speed) {
            return local.x > 0.0f ? sideStepWidth : -sideStepWidth;
        }
    }
    return 0.0f;
}

void ComputerDriver::decide(VehicleObject& car, const Level& level, std::size_t at) {
    const DrivingLine& line = level.getDrivingLine();
    const glm::vec3 position = car.getPosition();
    const float speed = glm::length(car.getActor()->getLinearVelocity());

    if (sideStepFor <= 0.0) {
        sideStep = avoidance(car, level);
        sideStepFor = sideStep != 0.0f ? 1.5 : 0.0;
    }
    // Where it aims: a point ahead on the line, moved sideways by its wandering and
    // by any car it is passing.
    const float ahead = 7.0f + 0.45f * speed;
    const glm::vec2 target = line.pointAhead(at, ahead);
    const glm::vec2 beyond = line.pointAhead(at, ahead + 2.0f);
    const glm::vec2 along = glm::length(beyond - target) > 0.0f ? glm::normalize(beyond - target)
                                                                : glm::vec2(1.0f, 0.0f);
    const glm::vec2 side(-along.y, along.x);
    const float wander = skill.lineWander * static_cast<float>(std::sin(raceTime * 0.35));
    const glm::vec2 aim = target + side * (wander + sideStep);

    const glm::vec3 local =
        glm::inverse(car.getRotation()) * (glm::vec3(aim.x, position.y, aim.y) - position);
    const float angle = std::atan2(local.x, local.z);
    const float yawRate = car.getActor()->getAngularVelocity().y;
    wantedSteering = std::clamp(angle * 2.5f - yawRate * 0.6f, -1.0f, 1.0f);

    const float wantedSpeed = profile[at];
    const bool tooFast = speed > wantedSpeed + 1.5f;
    holdEither(car, VehicleObject::ACCELERATE, speed < wantedSpeed && !tooFast,
               VehicleObject::BRAKE, tooFast);
}

} // namespace Game
