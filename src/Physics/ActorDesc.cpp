#include "Physics/ActorDesc.h"

#include <algorithm>

namespace Physics {

bool BodyDesc::isValid() const {
    return mass >= 0.0f && massSpaceInertia.x >= 0.0f && massSpaceInertia.y >= 0.0f &&
           massSpaceInertia.z >= 0.0f && wakeUpCounter >= 0.0f && linearDamping >= 0.0f &&
           angularDamping >= 0.0f && airDrag >= 0.0f && solverIterationCount >= 1 &&
           solverIterationCount <= 255;
}

bool ActorDesc::isValid() const {
    if (density < 0.0f) {
        return false;
    }
    const bool shapesValid = std::all_of(shapes.begin(), shapes.end(), [](const ShapeDesc* s) {
        return s != nullptr && s->isValid();
    });
    if (!shapesValid) {
        return false;
    }
    const auto hasType = [this](ShapeType type) {
        return std::any_of(shapes.begin(), shapes.end(),
                           [type](const ShapeDesc* s) { return s->getType() == type; });
    };
    if (body == nullptr) {
        return !shapes.empty() && !hasType(SHAPE_WHEEL);
    }
    if (!body->isValid() || hasType(SHAPE_HEIGHTFIELD)) {
        return false;
    }
    const bool byMass = body->mass > 0.0f;
    const bool byDensity = density > 0.0f;
    if (byMass == byDensity) {
        return false;
    }
    const bool inertiaGiven = body->massSpaceInertia != Vec3(0.0f);
    return inertiaGiven || !shapes.empty();
}

} // namespace Physics
