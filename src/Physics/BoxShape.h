#pragma once

#include "Physics/Shape.h"
#include "Physics/ShapeDesc.h"

namespace Physics {

class BoxShape : public Shape {
public:
    BoxShape(Actor& actor, const BoxShapeDesc& desc, float skinWidth);

    BoxShape* isBox() override { return this; }
    const Vec3& getDimensions() const { return dimensions; }

private:
    Vec3 dimensions;
};

} // namespace Physics
