#pragma once

#include "Data/SGNode.h"
#include "Tool/Export.h"

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <memory>

namespace Data {

// A viewpoint. Drawing uses the inverse of its world transform as view matrix.
class BRUMBLY_API Camera : public SGNode {
public:
    Camera() = default;
    Camera(float nearPlane, float farPlane, float fieldOfView, std::int32_t orthographic);
    Camera(const Camera& other) = default;

    SGNodePtr clone() const override;
    std::string toString() const override;

    // Frustum (perspective) or orthographic projection for a w x h viewport.
    glm::mat4 getProjection(unsigned width, unsigned height) const;

    float nearPlane = 1.0f;
    float farPlane = 1000.0f;
    float fieldOfView = 45.0f;     // full vertical angle in degrees
    std::int32_t orthographic = 0; // 0 = perspective
};

using CameraPtr = std::shared_ptr<Camera>;

} // namespace Data
