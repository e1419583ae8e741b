#pragma once

#include "Tool/Export.h"
#include "Track/TrackDesc.h"
#include "TrackGen/Raster.h"
#include "TrackGen/TrackPlan.h"
#include "TrackGen/TrackPreview.h"

#include <string>
#include <vector>

namespace TrackGen {

struct GenerateOptions {
    // The painted ground's width and height in pixels.
    int textureSize = 2048;
    // The preview's width and height in pixels; 0 makes none.
    int previewSize = 384;
    // Writes the preview's labels ("Start" and the checkpoints' numbers); without it the
    // preview shows only their rings.
    LabelPainter label;
};

// Everything a level needs from a plan, in memory.
struct GeneratedTrack {
    // The grid's heights, row (z) by row, gridVertices per row.
    int gridVertices = 0;
    std::vector<float> heights;
    // Grey height map (black 0, white heightScale), one pixel every half unit.
    Raster heightMap;
    Raster groundTexture;
    Raster preview;
    // The level, its driving line included.
    Track::TrackDesc desc;
};

// Generates the land, the pictures and the level of `plan`. The same plan gives the
// same result on every machine.
BRUMBLY_API GeneratedTrack generateTrack(const TrackPlan& plan,
                                         const GenerateOptions& options = {});

// The level of `plan` alone (objects, places, driving line), without the pictures.
BRUMBLY_API Track::TrackDesc describeTrack(const TrackPlan& plan);

// What the game's cars manage: the tightest bend (radius in units), the steepest grade
// (rise over run along the road, measured over 8 units), the deepest water on a
// watersplash, and the least room between the road's edge and the terrain's edge.
inline constexpr float minimumTurnRadius = 7.0f;
inline constexpr float maximumRoadGrade = 0.2f;
inline constexpr float maximumWaterDepth = 0.6f;
inline constexpr float minimumEdgeMargin = 8.0f;

// The reasons `plan` cannot be raced by the game's cars, empty when it can: the road
// must close on itself without touching itself, lie within the terrain, bend no
// tighter and climb no steeper than the cars manage; the checkpoints must lie on it in
// driving order after the goal; the start grid must face along a straight and level
// stretch behind the goal; no house, crate or gate post may stand on it.
BRUMBLY_API std::vector<std::string> drivabilityFaults(const TrackPlan& plan);

} // namespace TrackGen
