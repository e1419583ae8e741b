#include "Game/level/LevelAble.h"

#include "Game/level/Level.h"
#include "Game/level/Terrain.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Game {

namespace {

constexpr float radiansPerDegree = 0.0174533f;

} // namespace

LevelAble::LevelAble(const std::string& name)
    : node(std::make_shared<Data::SGNode>()), name(name) {}

LevelAble::~LevelAble() {
    detachFromNode();
}

void LevelAble::attach(Level* owner, const Data::SGNodePtr& newNode) {
    level = owner;
    if (newNode) {
        node = newNode;
    }
}

void LevelAble::update(double) {}

void LevelAble::release() {
    detachFromNode();
}

void LevelAble::setVisible(const bool& value) {
    if (value == inScene || level == nullptr) {
        return;
    }
    if (value) {
        level->addToDrawList(node);
    } else {
        level->removeFromDrawList(node);
    }
    inScene = value;
}

bool LevelAble::isVisible() {
    return inScene;
}

void LevelAble::setPosition(const glm::vec3& value) {
    position = value;
    updateMatrix();
}

void LevelAble::setPositionOnGround(const glm::vec3& value) {
    const Terrain* terrain = level != nullptr ? level->getTerrain().get() : nullptr;
    const float ground = terrain != nullptr ? terrain->getHeight(value.x, value.z) : 0.0f;
    setPosition({value.x, ground + value.y, value.z});
}

void LevelAble::setRotation(const glm::quat& value) {
    rotation = value;
    updateMatrix();
}

void LevelAble::moveX(float distance) {
    setPosition(position - rotation * glm::vec3(1.0f, 0.0f, 0.0f) * distance);
}

void LevelAble::moveY(float distance) {
    setPosition(position + rotation * glm::vec3(0.0f, 1.0f, 0.0f) * distance);
}

void LevelAble::moveZ(float distance) {
    setPosition(position + rotation * glm::vec3(0.0f, 0.0f, 1.0f) * distance);
}

void LevelAble::rotateX(float degrees) {
    setRotation(rotation * glm::angleAxis(degrees * radiansPerDegree, glm::vec3(1, 0, 0)));
}

void LevelAble::rotateY(float degrees) {
    setRotation(rotation * glm::angleAxis(degrees * radiansPerDegree, glm::vec3(0, 1, 0)));
}

void LevelAble::lookAt(const glm::vec3& target) {
    const glm::mat4 view = glm::lookAt(position, target, glm::vec3(0.0f, 1.0f, 0.0f));
    setRotation(glm::quat_cast(glm::mat3(glm::inverse(view))));
}

void LevelAble::attachToNode(const Data::SGNodePtr& parent) {
    detachFromNode();
    if (parent) {
        parentNode = parent;
        parentNode->addChild(node);
    }
}

void LevelAble::detachFromNode() {
    if (parentNode) {
        parentNode->removeChild(node);
        parentNode.reset();
    }
}

void LevelAble::updateMatrix() {
    node->setTransformation(glm::translate(glm::mat4(1.0f), position) * glm::mat4_cast(rotation));
}

} // namespace Game
