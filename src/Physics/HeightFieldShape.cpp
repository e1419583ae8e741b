#include "Physics/HeightFieldShape.h"

#include "Physics/BulletBridge.h"
#include "Physics/HeightField.h"

#include <BulletCollision/CollisionShapes/btHeightfieldTerrainShape.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

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

const HeightFieldShape* heightFieldOf(const btCollisionObject* object) {
    if (!object->isStaticObject() ||
        object->getCollisionShape()->getShapeType() != TERRAIN_SHAPE_PROXYTYPE) {
        return nullptr;
    }
    Shape* shape = ActorBody::shapeOf(object, 0);
    return shape != nullptr ? shape->isHeightField() : nullptr;
}

HeightFieldShape::HeightFieldShape(Actor& actor, const HeightFieldShapeDesc& desc)
    : Shape(actor, desc, makeHeightField(desc)), heightField(*desc.heightField),
      heightScale(desc.heightScale), rowScale(desc.rowScale), columnScale(desc.columnScale),
      flipped(desc.heightField->getSample(0, 0).tessFlag != 0) {
    ++heightField.referenceCount;
    const HeightFieldSample& first = heightField.getSample(0, 0);
    setMaterial(
        static_cast<MaterialIndex>(first.materialIndex0 | (desc.materialIndexHighBits << 7)));
}

HeightFieldShape::~HeightFieldShape() {
    --heightField.referenceCount;
}

float HeightFieldShape::sampleAt(int u, int v) const {
    const auto rows = static_cast<int>(heightField.getNbRows());
    return getCollisionGeometry()->heights[static_cast<std::size_t>(v) * rows + u];
}

float HeightFieldShape::surfaceAt(float u, float v, float* riseU, float* riseV) const {
    const int lastU = static_cast<int>(heightField.getNbRows()) - 2;
    const int lastV = static_cast<int>(heightField.getNbColumns()) - 2;
    // Points just outside the field take the edge cells' planes.
    const int i = std::clamp(static_cast<int>(u), 0, lastU);
    const int j = std::clamp(static_cast<int>(v), 0, lastV);
    const float s = u - static_cast<float>(i);
    const float t = v - static_cast<float>(j);
    const float h00 = sampleAt(i, j);
    const float h10 = sampleAt(i + 1, j);
    const float h01 = sampleAt(i, j + 1);
    const float h11 = sampleAt(i + 1, j + 1);
    float alongU;
    float alongV;
    if (flipped) { // split along (i, j)-(i + 1, j + 1)
        const bool lower = s >= t;
        alongU = lower ? h10 - h00 : h11 - h01;
        alongV = lower ? h11 - h10 : h01 - h00;
    } else { // split along (i + 1, j)-(i, j + 1)
        const bool lower = s + t <= 1.0f;
        alongU = lower ? h10 - h00 : h11 - h01;
        alongV = lower ? h01 - h00 : h11 - h10;
    }
    if (riseU != nullptr) {
        *riseU = alongU;
        *riseV = alongV;
    }
    // Both triangles hold (i, j) or (i + 1, j + 1); take the corner of this one.
    const bool fromFirst = flipped ? true : s + t <= 1.0f;
    return fromFirst ? h00 + alongU * s + alongV * t
                     : h11 - alongU * (1.0f - s) - alongV * (1.0f - t);
}

// The surface is linear on each triangle, so its highest point over the rectangle lies
// at a corner of the rectangle clipped to a triangle: a corner of the rectangle, a grid
// vertex inside it, or where an edge of the rectangle crosses a grid line or a diagonal.
float HeightFieldShape::getHighestPointIn(float x0, float z0, float x1, float z1) const {
    if (!std::isfinite(x0 + z0 + x1 + z1)) {
        return std::numeric_limits<float>::infinity(); // no telling: above anything
    }
    const float maxU = static_cast<float>(heightField.getNbRows() - 1);
    const float maxV = static_cast<float>(heightField.getNbColumns() - 1);
    const float u0 = std::max(x0 / rowScale, 0.0f);
    const float u1 = std::min(x1 / rowScale, maxU);
    const float v0 = std::max(z0 / columnScale, 0.0f);
    const float v1 = std::min(z1 / columnScale, maxV);
    if (u0 > u1 || v0 > v1) {
        return -std::numeric_limits<float>::infinity();
    }
    float highest =
        std::max({surfaceAt(u0, v0), surfaceAt(u1, v0), surfaceAt(u0, v1), surfaceAt(u1, v1)});
    const float diagonal = flipped ? -1.0f : 1.0f; // diagonals: u + diagonal * v = k
    // Along the edges v = v0 and v = v1: grid lines u = k and diagonals.
    for (const float v : {v0, v1}) {
        for (float u = std::ceil(u0); u <= u1; u += 1.0f) {
            highest = std::max(highest, surfaceAt(u, v));
        }
        for (float k = std::ceil(u0 + diagonal * v); k - diagonal * v <= u1; k += 1.0f) {
            highest = std::max(highest, surfaceAt(k - diagonal * v, v));
        }
    }
    // Along the edges u = u0 and u = u1, and the grid vertices between them.
    for (const float u : {u0, u1}) {
        for (float v = std::ceil(v0); v <= v1; v += 1.0f) {
            highest = std::max(highest, surfaceAt(u, v));
        }
        const float low = diagonal > 0.0f ? u + v0 : u - v1;
        const float high = diagonal > 0.0f ? u + v1 : u - v0;
        for (float k = std::ceil(low); k <= high; k += 1.0f) {
            highest = std::max(highest, surfaceAt(u, (k - u) * diagonal));
        }
    }
    for (float u = std::ceil(u0); u <= u1; u += 1.0f) {
        for (float v = std::ceil(v0); v <= v1; v += 1.0f) {
            highest = std::max(highest, sampleAt(static_cast<int>(u), static_cast<int>(v)));
        }
    }
    return highest;
}

// The segment crosses one triangle between consecutive crossings of grid lines and
// diagonals; there the height above the surface changes linearly, so its first change
// of sign is where the segment meets the surface.
bool HeightFieldShape::raycast(const Vec3& from, const Vec3& to, float& fraction,
                               Vec3& normal) const {
    if (!std::isfinite(from.x + from.y + from.z + to.x + to.y + to.z)) {
        return false;
    }
    const float u0 = from.x / rowScale;
    const float v0 = from.z / columnScale;
    const float du = to.x / rowScale - u0;
    const float dv = to.z / columnScale - v0;
    // The part of the segment over the field.
    float enter = 0.0f;
    float leave = 1.0f;
    const auto clip = [&](float start, float delta, float limit) {
        if (delta == 0.0f) {
            return start >= 0.0f && start <= limit;
        }
        const float a = -start / delta;
        const float b = (limit - start) / delta;
        enter = std::max(enter, std::min(a, b));
        leave = std::min(leave, std::max(a, b));
        return enter <= leave;
    };
    if (!clip(u0, du, static_cast<float>(heightField.getNbRows() - 1)) ||
        !clip(v0, dv, static_cast<float>(heightField.getNbColumns() - 1))) {
        return false;
    }
    // Where the segment crosses grid lines and diagonals: a handful for a wheel's ray.
    const auto crossings = [&](float delta) {
        return delta == 0.0f ? 0 : static_cast<int>(std::fabs(delta) * (leave - enter)) + 2;
    };
    const float diagonal = flipped ? -1.0f : 1.0f; // diagonals: u + diagonal * v = k
    const auto most =
        static_cast<std::size_t>(2 + crossings(du) + crossings(dv) + crossings(du + diagonal * dv));
    std::array<float, 16> few;
    std::vector<float> many(most > few.size() ? most : 0);
    float* const breaks = most > few.size() ? many.data() : few.data();
    std::size_t count = 0;
    breaks[count++] = enter;
    breaks[count++] = leave;
    const auto addCrossings = [&](float start, float delta) {
        if (delta == 0.0f) {
            return;
        }
        const float a = start + delta * enter;
        const float b = start + delta * leave;
        for (float k = std::ceil(std::min(a, b)); k <= std::max(a, b) && count < most; k += 1.0f) {
            breaks[count++] = (k - start) / delta;
        }
    };
    addCrossings(u0, du);
    addCrossings(v0, dv);
    addCrossings(u0 + diagonal * v0, du + diagonal * dv);
    std::sort(breaks, breaks + count);
    const auto above = [&](float t) {
        return from.y + (to.y - from.y) * t - surfaceAt(u0 + du * t, v0 + dv * t);
    };
    float previous = above(breaks[0]);
    for (std::size_t k = 1; k < count; ++k) {
        const float next = above(breaks[k]);
        if ((previous > 0.0f) != (next > 0.0f) || previous == 0.0f) {
            const float t0 = breaks[k - 1];
            const float t =
                previous == next ? t0 : t0 + (breaks[k] - t0) * previous / (previous - next);
            const float middle = 0.5f * (t0 + breaks[k]);
            float riseU = 0.0f;
            float riseV = 0.0f;
            surfaceAt(u0 + du * middle, v0 + dv * middle, &riseU, &riseV);
            fraction = t;
            normal = glm::normalize(Vec3(-riseU / rowScale, 1.0f, -riseV / columnScale));
            return true;
        }
        previous = next;
    }
    return false;
}

} // namespace Physics
