#pragma once

#include "TrackGen/GroundPainter.h"
#include "TrackGen/Raster.h"
#include "TrackGen/TerrainModel.h"

#include <array>
#include <functional>
#include <string>

namespace TrackGen {

using Direction = std::array<float, 3>;

// The direction toward the sun of every track's sky (the level's first light, turned
// -45 degrees about y and -60 degrees about x, shines along its local +z axis).
Direction sunDirection();

// Draws `text` in `colour` centred on column `centre`, its baseline `baseline` pixels
// below the picture's top.
using LabelPainter = std::function<void(Raster& picture, const std::string& text, int centre,
                                        int baseline, const Colour& colour)>;

// The launcher's picture of a track, `size` pixels square: the land seen from above
// (the painted ground lit by the sun, the water, the road with its start line), the
// goal marked "Start" and each checkpoint gate as a numbered ring. It is seen from above
// as the race map shows it: +x to the right, +z down.
Raster trackPreview(const TrackPlan& plan, const TerrainModel& terrain,
                    const GroundPainter& painter, int size, const LabelPainter& label);

} // namespace TrackGen
