#pragma once

#include "Physics/Types.h"

#include <vector>

namespace Physics {

// One 32-bit height-field sample: a signed 16-bit height, the material indices of the
// cell's two triangles (7 bits each) and the cell's tessellation flag.
struct HeightFieldSample {
    std::int16_t height = 0;
    std::uint8_t materialIndex0 : 7 = 0;
    std::uint8_t tessFlag : 1 = 0;
    std::uint8_t materialIndex1 : 7 = 0;
    std::uint8_t unused : 1 = 0;
};
static_assert(sizeof(HeightFieldSample) == 4, "height-field samples are 32 bits");

// Describes a height field of nbRows x nbColumns samples stored row by row
// (sample (row, column) at samples + (row * nbColumns + column) * sampleStride).
// Rows run along x, columns along z.
struct HeightFieldDesc {
    std::uint32_t nbRows = 0;
    std::uint32_t nbColumns = 0;
    HeightFieldFormat format = HF_S16_TM;
    std::uint32_t sampleStride = 0;
    const void* samples = nullptr;
    float verticalExtent = 0.0f;
    float thickness = 0.0f;
    float convexEdgeThreshold = 0.0f;
    std::uint32_t flags = 0;

    void setToDefault() { *this = HeightFieldDesc(); }
    bool isValid() const;
};

// The height data of a terrain, shared by the height-field shapes that use it.
// The samples are copied at creation.
class HeightField {
public:
    explicit HeightField(const HeightFieldDesc& desc);

    std::uint32_t getNbRows() const { return nbRows; }
    std::uint32_t getNbColumns() const { return nbColumns; }
    const HeightFieldSample& getSample(std::uint32_t row, std::uint32_t column) const {
        return samples[row * nbColumns + column];
    }
    float getVerticalExtent() const { return verticalExtent; }
    float getThickness() const { return thickness; }
    // Number of shapes built on this height field; it cannot be released while used.
    std::uint32_t getReferenceCount() const { return referenceCount; }

private:
    friend class HeightFieldShape;

    std::uint32_t referenceCount = 0;
    std::uint32_t nbRows;
    std::uint32_t nbColumns;
    float verticalExtent;
    float thickness;
    std::vector<HeightFieldSample> samples;
};

} // namespace Physics
