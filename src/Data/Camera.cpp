#include "Data/Camera.h"

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace Data {

Camera::Camera(float nearPlane, float farPlane, float fieldOfView, std::int32_t orthographic)
    : nearPlane(nearPlane), farPlane(farPlane), fieldOfView(fieldOfView),
      orthographic(orthographic) {}

SGNodePtr Camera::clone() const {
    return std::make_shared<Camera>(*this);
}

std::string Camera::toString() const {
    return "Camera::" + nodeText();
}

glm::mat4 Camera::getProjection(unsigned width, unsigned height) const {
    // A minimised window reports a height of 0; keep the matrix finite.
    const float aspect = static_cast<float>(width) / static_cast<float>(std::max(height, 1u));
    if (orthographic != 0) {
        return glm::ortho(-aspect, aspect, -1.0f, 1.0f, nearPlane, farPlane);
    }
    const float range = std::tan(fieldOfView / 2.0f * 0.017453293f) * nearPlane;
    const float left = -range * aspect;
    const float right = range * aspect;
    const float bottom = -range;
    const float top = range;
    glm::mat4 projection(0.0f);
    projection[0][0] = 2.0f * nearPlane / (right - left);
    projection[1][1] = 2.0f * nearPlane / (top - bottom);
    projection[2][2] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    projection[2][3] = -1.0f;
    projection[3][2] = -2.0f * farPlane * nearPlane / (farPlane - nearPlane);
    return projection;
}

} // namespace Data
