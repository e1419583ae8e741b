#pragma once

#include "Physics/Shape.h"
#include "Physics/ShapeDesc.h"

namespace Physics {

// A height field in an actor. The whole surface uses the material of the first
// sample's first triangle (offset by the high bits); per-triangle materials and holes
// are not modelled. The first sample's tessellation flag picks the diagonal of every
// cell: clear splits cell (r, c) along (r + 1, c)-(r, c + 1), set along (r, c)-(r + 1, c + 1).
class HeightFieldShape : public Shape {
public:
    HeightFieldShape(Actor& actor, const HeightFieldShapeDesc& desc);
    ~HeightFieldShape() override;

    HeightFieldShape* isHeightField() override { return this; }
    HeightField& getHeightField() const { return heightField; }
    float getHeightScale() const { return heightScale; }
    float getRowScale() const { return rowScale; }
    float getColumnScale() const { return columnScale; }

    // The highest point of the surface over the rectangle [x0, x1] x [z0, z1] of the
    // shape's frame; minus infinity where the rectangle misses the field, infinity for
    // a rectangle that is not finite.
    float getHighestPointIn(float x0, float z0, float x1, float z1) const;
    // Where the segment from `from` to `to` (shape frame) first meets the surface, from
    // either side: true with the fraction of the way and the surface's upward normal.
    bool raycast(const Vec3& from, const Vec3& to, float& fraction, Vec3& normal) const;

private:
    // The surface at (u, v) in cells (u = x / rowScale, v = z / columnScale), and
    // its rise per cell along u and v on the triangle there.
    float surfaceAt(float u, float v, float* riseU = nullptr, float* riseV = nullptr) const;
    float sampleAt(int u, int v) const;

    HeightField& heightField;
    float heightScale;
    float rowScale;
    float columnScale;
    bool flipped;
};

} // namespace Physics
