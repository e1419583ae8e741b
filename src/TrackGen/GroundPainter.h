#pragma once

#include "TrackGen/Noise.h"
#include "TrackGen/Raster.h"
#include "TrackGen/RoadLine.h"
#include "TrackGen/TerrainModel.h"

#include <vector>

namespace TrackGen {

// Paints the ground texture that is stretched once over the terrain: grass, earth,
// rock and sand by height and slope, the lake bed, the dirt road along the loop with
// its wheel ruts, the chequered start/finish line, the start grid and the yards.
class GroundPainter {
public:
    GroundPainter(const TrackPlan& plan, const RoadLine& road, const TerrainModel& terrain);

    Colour colourAt(float x, float z) const;

private:
    // Distance to the road's centre line, interpolated from a one-unit grid.
    float roadDistance(float x, float z) const;
    Colour natureColour(float x, float z, float h, float slope) const;
    Colour roadColour(float x, float z, float distance) const;
    bool startMarking(float x, float z, Colour& colour) const;

    const TrackPlan& plan;
    const TerrainModel& terrain;
    const GroundColours& colours;
    int fieldSize;
    std::vector<float> distanceField;
    // The start/finish line, where the plan has a goal: its middle on the centre line and
    // the road's direction.
    bool hasFinish = false;
    GroundPoint finish;
    GroundPoint finishDirection{1.0f, 0.0f};
    Noise patches{71U};
    Noise detail{72U};
    Noise grain{73U};
};

} // namespace TrackGen
