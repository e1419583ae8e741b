#pragma once

#include "Tool/Export.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace Data {

// A local transform T with step operations. With `local` set a step X is taken in
// the object's own axes (T = T x X), otherwise in the parent's axes (T = X x T).
// Angles are in degrees.
class BRUMBLY_API Movable {
public:
    Movable() = default;

    const glm::mat4& getTransformation() const { return transformation; }
    void setTransformation(const glm::mat4& value) { transformation = value; }

    void moveForward(float distance, bool local);  // translation (0, 0, -distance)
    void moveSideways(float distance, bool local); // translation (distance, 0, 0)
    void moveUp(float distance, bool local);       // translation (0, distance, 0)
    void pitch(float degrees, bool local);         // about (1, 0, 0)
    void yaw(float degrees, bool local);           // about (0, 1, 0)
    void roll(float degrees); // about (0, 0, 1), always in the object's own axes
    void scale(const glm::vec3& factors, bool local);

private:
    void apply(const glm::mat4& step, bool local);

    glm::mat4 transformation{1.0f};
};

} // namespace Data
