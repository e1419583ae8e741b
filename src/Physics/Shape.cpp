#include "Physics/Shape.h"

#include "Physics/Actor.h"
#include "Physics/BulletBridge.h"
#include "Physics/ShapeDesc.h"

namespace Physics {

Shape::Shape(Actor& actor, const ShapeDesc& desc, std::unique_ptr<CollisionGeometry> geometry)
    : actor(actor), type(desc.getType()), name(desc.name), localPose(desc.localPose),
      materialIndex(desc.materialIndex), geometry(std::move(geometry)) {
    setMaterial(desc.materialIndex);
}

Shape::~Shape() = default;

Mat34 Shape::getGlobalPose() const {
    return actor.getGlobalPose() * localPose;
}

void Shape::setMaterial(MaterialIndex index) {
    materialIndex = index;
    if (geometry) {
        geometry->shape->setUserIndex(index);
    }
}

} // namespace Physics
