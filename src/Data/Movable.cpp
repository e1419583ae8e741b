#include "Data/Movable.h"

#include <glm/gtc/matrix_transform.hpp>

namespace Data {

namespace {
constexpr float DEGREES_TO_RADIANS = 0.0174533f;
}

void Movable::apply(const glm::mat4& step, bool local) {
    transformation = local ? transformation * step : step * transformation;
}

void Movable::moveForward(float distance, bool local) {
    apply(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -distance)), local);
}

void Movable::moveSideways(float distance, bool local) {
    apply(glm::translate(glm::mat4(1.0f), glm::vec3(distance, 0.0f, 0.0f)), local);
}

void Movable::moveUp(float distance, bool local) {
    apply(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, distance, 0.0f)), local);
}

void Movable::pitch(float degrees, bool local) {
    apply(glm::rotate(glm::mat4(1.0f), degrees * DEGREES_TO_RADIANS, glm::vec3(1.0f, 0.0f, 0.0f)),
          local);
}

void Movable::yaw(float degrees, bool local) {
    apply(glm::rotate(glm::mat4(1.0f), degrees * DEGREES_TO_RADIANS, glm::vec3(0.0f, 1.0f, 0.0f)),
          local);
}

void Movable::roll(float degrees) {
    apply(glm::rotate(glm::mat4(1.0f), degrees * DEGREES_TO_RADIANS, glm::vec3(0.0f, 0.0f, 1.0f)),
          true);
}

void Movable::scale(const glm::vec3& factors, bool local) {
    apply(glm::scale(glm::mat4(1.0f), factors), local);
}

} // namespace Data
