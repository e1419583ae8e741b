#pragma once

#include "TrackGen/RoadLine.h"
#include "TrackGen/TrackPlan.h"

#include <string>

namespace TrackGen {

// A point on a road's centre line and the heading of travel there (degrees, 90 faces +x).
struct RoadPlace {
    float x = 0.0f;
    float z = 0.0f;
    float heading = 0.0f;
};

// The centre line's point `along` units after the road's first control point.
RoadPlace placeOnRoad(const RoadLine& road, float along);

// Puts the goal's gate across the road `along` units after its first control point,
// `cars` start places behind it, one every `spacing` units, and the level start pad
// under both.
void placeStart(TrackPlan& plan, const RoadLine& road, float along, int cars = 3,
                float spacing = 20.0f);

// Adds the next checkpoint and its gate across the road `along` units after its first
// control point.
void addCheckpoint(TrackPlan& plan, const RoadLine& road, float along);

} // namespace TrackGen
