#include "Game/level/Camera.h"

#include "Game/InputListeners.h"
#include "Game/level/Level.h"
#include "Platform/Keys.h"

namespace Game {

namespace {

constexpr float moveStep = 2.5f;
constexpr float degreesPerPixel = 0.25f;

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
