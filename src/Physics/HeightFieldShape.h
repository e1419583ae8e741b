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

private:
    HeightField& heightField;
    float heightScale;
    float rowScale;
    float columnScale;
};

} // namespace Physics
