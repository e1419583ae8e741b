#pragma once

#include "Data/SGNode.h"
#include "Tool/Export.h"

#include <cstdint>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <memory>

namespace Data {

enum LightType : std::int32_t { LT_DIRECTIONAL = 0, LT_POINT = 1, LT_SPOT = 2 };

// Light parameters written into the "LightSource[i]" uniforms. Point and spot
// lights shine from the origin of the world transform, directional ones along
// the local +z axis.
class BRUMBLY_API Light : public SGNode {
public:
    Light() = default;
    Light(const Light& other) = default;

    SGNodePtr clone() const override;
    std::string toString() const override;

    glm::vec4 ambient{0.0f, 0.0f, 0.0f, 1.0f};
    glm::vec4 diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    glm::vec4 specular{1.0f, 1.0f, 1.0f, 1.0f};
    float constantAttenuation = 0.2f;
    float linearAttenuation = 0.05f;
    float quadraticAttenuation = 0.001f;
    glm::vec3 spotDirection{0.0f, 0.0f, -1.0f};
    float spotExponent = 20.0f;
    float spotCutoff = 30.0f; // degrees
    std::int32_t type = LT_DIRECTIONAL;
};

using LightPtr = std::shared_ptr<Light>;

} // namespace Data
