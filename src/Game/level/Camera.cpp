#include "Game/level/Camera.h"

#include "Game/InputListeners.h"
#include "Game/level/Level.h"
#include "Game/level/Terrain.h"
#include "Platform/Keys.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/constants.hpp>

namespace Game {

namespace {

constexpr float moveStep = 2.5f;
constexpr float degreesPerPixel = 0.25f;
// A chasing camera closes about two thirds of a change of heading in this time.
constexpr double headingLag = 0.25;
// The chase view looks at most this far down or up (radians).
constexpr float lowestPitch = -0.6f;
constexpr float highestPitch = 0.1f;
// A chasing camera keeps at least this height above the terrain.
constexpr float groundClearance = 2.0f;

} // namespace

Camera::Camera(const std::string& name, std::uint8_t flags)
    : LevelAble(name), flags(flags),
      camera(std::make_shared<Data::Camera>(1.0f, 1000.0f, 45.0f, 0)) {}

void Camera::release() {
    if (InputListeners* input = level != nullptr ? level->getInput() : nullptr) {
        input->detach(static_cast<KeyEventListener*>(this));
        input->detach(static_cast<MouseEventListener*>(this));
    }
    detachFromNode();
}

void Camera::setVisible(const bool& value) {
    if (level == nullptr) {
        return;
    }
    if (value) {
        level->setCurrentCamera(getName());
    } else {
        level->selectFirstCamera();
    }
    inScene = isVisible();
}

bool Camera::isVisible() {
    inScene = level != nullptr && level->getCurrentCamera().get() == this;
    return inScene;
}

bool Camera::attachToLevel(Level* owner) {
    attach(owner, nullptr);
    node->addChild(camera);
    owner->addToDrawList(node);
    if (InputListeners* input = owner->getInput()) {
        input->attach(static_cast<KeyEventListener*>(this));
        input->attach(static_cast<MouseEventListener*>(this));
    }
    return true;
}

void Camera::follow(const Data::SGNodePtr& target, const glm::vec3& offset, const glm::vec3& aim) {
    followed = target;
    followOffset = offset;
    followAim = aim;
    headingKnown = false;
    update(0.0);
}

void Camera::update(double dt) {
    const Data::SGNodePtr target = followed.lock();
    if (!target) {
        return;
    }
    const glm::mat4 pose = target->getWorldTransformation();
    const glm::vec3 origin(pose[3]);
    const glm::vec3 forward(pose[2]);
    // A target standing on its nose or its tail has no heading: the last one stays.
    if (glm::length(glm::vec2(forward.x, forward.z)) > 0.1f * glm::length(forward)) {
        const float wanted = std::atan2(forward.x, forward.z);
        if (headingKnown) {
            const float turn = std::remainder(wanted - heading, glm::two_pi<float>());
            heading += turn * static_cast<float>(1.0 - std::exp(-dt / headingLag));
        } else {
            heading = wanted;
            headingKnown = true;
        }
    }
    const glm::quat yaw = glm::angleAxis(heading, glm::vec3(0.0f, 1.0f, 0.0f));
    glm::vec3 eye = origin + yaw * followOffset;
    if (const Terrain* terrain = level != nullptr ? level->getTerrain().get() : nullptr) {
        eye.y = std::max(eye.y, terrain->getHeight(eye.x, eye.z) + groundClearance);
    }
    const glm::vec3 toAim = origin + yaw * followAim - eye;
    const float pitch = std::clamp(std::atan2(toAim.y, glm::length(glm::vec2(toAim.x, toAim.z))),
                                   lowestPitch, highestPitch);
    // The camera looks along its -z axis, so it turns half a turn more than the heading;
    // it turns about the level's vertical axis only, then tilts about its own x axis.
    setPosition(eye);
    setRotation(glm::angleAxis(heading + glm::pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)) *
                glm::angleAxis(pitch, glm::vec3(1.0f, 0.0f, 0.0f)));
}

void Camera::onKey(int key, int action) {
    // Keys that drive a car do not fly the camera as well.
    if (action != Platform::PRESS || !isVisible() || level->isDrivingKey(key)) {
        return;
    }
    // The camera looks along its -z axis: Up flies forward, Down backward.
    switch (key) {
    case Platform::KEY_UP:
        moveZ(-moveStep);
        break;
    case Platform::KEY_DOWN:
        moveZ(moveStep);
        break;
    case Platform::KEY_LEFT:
        moveX(moveStep);
        break;
    case Platform::KEY_RIGHT:
        moveX(-moveStep);
        break;
    case Platform::KEY_PAGEUP:
        moveY(moveStep);
        break;
    case Platform::KEY_PAGEDOWN:
        moveY(-moveStep);
        break;
    default:
        break;
    }
}

void Camera::onMouseMove(const int& x, const int& y) {
    if (!rightButtonDown || !isVisible()) {
        return;
    }
    rotateX(static_cast<float>(y) * degreesPerPixel);
    rotateY(-static_cast<float>(x) * degreesPerPixel);
}

void Camera::onMouseWheel(const int&) {}

} // namespace Game
