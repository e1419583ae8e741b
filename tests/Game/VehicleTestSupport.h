#pragma once

#include "Data/Profile.h"
#include "Game/vehicle/VehicleObject.h"
#include "LevelTestSupport.h"
#include "Physics/WheelShape.h"
#include "Platform/Keys.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>

namespace GameTest {

// Windows virtual-key codes as profiles store them.
constexpr std::uint32_t VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_R = 'R';

inline Data::Control arrowKeys() {
    Data::Control control;
    control.accelerate = VK_UP;
    control.brake = VK_DOWN;
    control.steerLeft = VK_LEFT;
    control.steerRight = VK_RIGHT;
    control.reset = VK_R;
    return control;
}

// A profile on the arrow keys, driven by the computer where `computer` holds.
inline std::shared_ptr<Data::Profile> driver(const std::string& name, bool computer = false) {
    auto profile = std::make_shared<Data::Profile>(name, "profiles", ".profile");
    profile->controls = arrowKeys();
    profile->controls.aiEnabled = computer;
    return profile;
}

// Sends a window-layer key event to every key listener of the test levels, as the
// kernel's key handler does for the game's level.
inline void sendKey(int key, int action) {
    testInput().sendKey(key, action);
}

// Holds and releases window-layer keys, sending only the changes.
class Keyboard {
public:
    void set(int key, bool down) {
        bool& held = keys[key];
        if (held != down) {
            held = down;
            sendKey(key, down ? Platform::PRESS : Platform::RELEASE);
        }
    }
    void releaseAll() {
        for (auto& [key, held] : keys) {
            set(key, false);
        }
    }

private:
    std::map<int, bool> keys;
};

// Where a point lies seen from the car: x to its left, z ahead.
inline glm::vec3 inCarFrame(const Game::VehicleObject& car, const glm::vec3& point) {
    return glm::inverse(car.getRotation()) * (point - car.getPosition());
}

inline float carUp(const Game::VehicleObject& car) {
    return (car.getRotation() * glm::vec3(0, 1, 0)).y;
}

// The angle, seen from the car, to the point `ahead` units further along the line
// than the line's point nearest to the car (positive to the left).
inline float angleToLine(const Game::VehicleObject& car, const Game::DrivingLine& line,
                         float ahead) {
    const glm::vec3 position = car.getPosition();
    const glm::vec2 target = line.pointAhead(line.nearest({position.x, position.z}).index, ahead);
    const glm::vec3 local = inCarFrame(car, {target.x, position.y, target.y});
    return std::atan2(local.x, local.z);
}

// Drives a car with arrow keys along the track's driving line. The steering it
// wants grows with the angle to a point ahead on the line, less the car's turn rate; it presses
// left or right while the steering ramp is short of that and lets go when it is past it. It brakes
// when a bend further ahead is sharp for its speed.
inline void followDrivingLine(Keyboard& keyboard, const Game::VehicleObject& car,
                              const Game::Level& level) {
    const float angle = angleToLine(car, level.getDrivingLine(), 12.0f);
    const float bend = std::abs(angleToLine(car, level.getDrivingLine(), 30.0f));
    // The turn the car is already making damps the steering it asks for.
    const float yawRate = car.getActor()->getAngularVelocity().y;
    const float wanted = std::clamp(angle * 2.5f - yawRate * 0.6f, -1.0f, 1.0f);
    const float steering = car.getSteeringRamp().current;
    keyboard.set(Platform::KEY_LEFT, wanted > 0.02f && steering < wanted);
    keyboard.set(Platform::KEY_RIGHT, wanted < -0.02f && steering > wanted);
    const float speed = glm::length(car.getActor()->getLinearVelocity());
    const float allowed = bend > 0.6f ? 12.0f : bend > 0.35f ? 17.0f : 40.0f;
    keyboard.set(Platform::KEY_UP, speed < allowed);
    keyboard.set(Platform::KEY_DOWN, speed > allowed + 2.0f);
}

} // namespace GameTest
