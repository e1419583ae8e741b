#include "Physics/BoxShape.h"

#include "Physics/BulletBridge.h"

#include <algorithm>

namespace Physics {

namespace {

std::unique_ptr<CollisionGeometry> makeBox(const Vec3& halfExtents, float skinWidth) {
    auto geometry = std::make_unique<CollisionGeometry>();
    auto box = std::make_unique<btBoxShape>(toBullet(halfExtents));
    // Bullet keeps the box's outer extents when the margin changes; the margin plays
    // the part of the skin width and cannot exceed the box's thinnest half extent.
    const float thinnest = std::min({halfExtents.x, halfExtents.y, halfExtents.z});
    box->setMargin(std::max(0.0f, std::min(skinWidth, thinnest)));
    geometry->shape = std::move(box);
    geometry->volume = 8.0f * halfExtents.x * halfExtents.y * halfExtents.z;
    const Vec3 squared = halfExtents * halfExtents;
    geometry->inertiaPerMass =
        Vec3(squared.y + squared.z, squared.x + squared.z, squared.x + squared.y) / 3.0f;
    return geometry;
}

} // namespace

BoxShape::BoxShape(Actor& actor, const BoxShapeDesc& desc, float skinWidth)
    : Shape(actor, desc, makeBox(desc.dimensions, skinWidth)), dimensions(desc.dimensions) {}

} // namespace Physics
