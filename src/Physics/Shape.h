#pragma once

#include "Physics/Types.h"

#include <memory>
#include <string>

namespace Physics {

class Actor;
class BoxShape;
class HeightFieldShape;
class ShapeDesc;
class WheelShape;
struct CollisionGeometry;

// A shape of an actor, placed by its local pose in the actor's frame.
class Shape {
public:
    virtual ~Shape();
    Shape(const Shape&) = delete;
    Shape& operator=(const Shape&) = delete;

    ShapeType getType() const { return type; }
    Actor& getActor() const { return actor; }
    const std::string& getName() const { return name; }
    void setName(const std::string& value) { name = value; }

    const Mat34& getLocalPose() const { return localPose; }
    Vec3 getLocalPosition() const { return localPose.t; }
    Mat34 getGlobalPose() const;
    Vec3 getGlobalPosition() const { return getGlobalPose().t; }

    MaterialIndex getMaterial() const { return materialIndex; }
    void setMaterial(MaterialIndex index);

    virtual BoxShape* isBox() { return nullptr; }
    virtual HeightFieldShape* isHeightField() { return nullptr; }
    virtual WheelShape* isWheel() { return nullptr; }

    // Bullet geometry of a colliding shape; null for wheels, which collide by raycast.
    CollisionGeometry* getCollisionGeometry() const { return geometry.get(); }

protected:
    Shape(Actor& actor, const ShapeDesc& desc, std::unique_ptr<CollisionGeometry> geometry);

private:
    Actor& actor;
    ShapeType type;
    std::string name;
    Mat34 localPose;
    MaterialIndex materialIndex;
    std::unique_ptr<CollisionGeometry> geometry;
};

} // namespace Physics
