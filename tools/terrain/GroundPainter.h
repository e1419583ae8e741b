#pragma once

#include "common/Noise.h"
#include "common/Raster.h"
#include "common/TerrainModel.h"

#include <vector>

namespace Tools {

// Paints the ground texture that is stretched once over the terrain: grass, earth,
// rock and sand by height and slope, the lake bed, the dirt road along the loop with
// its wheel ruts, the chequered start/finish line and the start grid.
class GroundPainter {
public:
    GroundPainter(const TrackLayout& track, const TerrainModel& terrain);

    Colour colourAt(float x, float z) const;

private:
    // Distance to the road's centre line, interpolated from a one-unit grid.
    float roadDistance(float x, float z) const;
    Colour natureColour(float x, float z, float h, float slope) const;
    Colour roadColour(float x, float z, float distance) const;
    static bool startMarking(float x, float z, Colour& colour);

    const TerrainModel& terrain;
    std::vector<FlatPad> pads;
    std::vector<float> distanceField;
    Noise patches{71U};
    Noise detail{72U};
    Noise grain{73U};
};

} // namespace Tools
