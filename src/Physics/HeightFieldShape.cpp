#include "Physics/HeightFieldShape.h"

#include "Physics/BulletBridge.h"
#include "Physics/HeightField.h"

#include <BulletCollision/CollisionShapes/btHeightfieldTerrainShape.h>
#include <algorithm>

namespace Physics {

namespace {

// Bullet reads heights with x running fastest (x = our row, along world x) and
// places the field's bounding-box centre at the shape origin; the offset moves the
// first sample back to the origin.
std::unique_ptr<CollisionGeometry> makeHeightField(const HeightFieldShapeDesc& desc) {
    const HeightField& field = *desc.heightField;
    const int rows = static_cast<int>(field.getNbRows());
    const int columns = static_cast<int>(field.getNbColumns());
    auto geometry = std::make_unique<CollisionGeometry>();
    geometry->heights.resize(static_cast<std::size_t>(rows) * columns);
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            geometry->heights[static_cast<std::size_t>(column) * rows + row] =
                field.getSample(row, column).height * desc.heightScale;
        }
    }
    const auto [low, high] =
        std::minmax_element(geometry->heights.begin(), geometry->heights.end());
    // One unit of depth below the lowest sample keeps the bounds from being flat.
    const float minHeight = *low - 1.0f;
    const float maxHeight = *high;
    const bool flip = field.getSample(0, 0).tessFlag != 0;
    auto shape = std::make_unique<btHeightfieldTerrainShape>(
        rows, columns, geometry->heights.data(), minHeight, maxHeight, 1, flip);
    shape->setLocalScaling(btVector3(desc.rowScale, 1.0f, desc.columnScale));
    geometry->offset.setOrigin(btVector3(0.5f * (rows - 1) * desc.rowScale,
                                         0.5f * (minHeight + maxHeight),
                                         0.5f * (columns - 1) * desc.columnScale));
    geometry->shape = std::move(shape);
    return geometry;
}

} // namespace

HeightFieldShape::HeightFieldShape(Actor& actor, const HeightFieldShapeDesc& desc)
    : Shape(actor, desc, makeHeightField(desc)), heightField(*desc.heightField),
      heightScale(desc.heightScale), rowScale(desc.rowScale), columnScale(desc.columnScale) {
    ++heightField.referenceCount;
    const HeightFieldSample& first = heightField.getSample(0, 0);
    setMaterial(
        static_cast<MaterialIndex>(first.materialIndex0 | (desc.materialIndexHighBits << 7)));
}

HeightFieldShape::~HeightFieldShape() {
    --heightField.referenceCount;
}

} // namespace Physics
