#pragma once

#include "TrackGen/TrackPlan.h"

#include <string>
#include <vector>

namespace Plans {

TrackGen::TrackPlan testTrack();
TrackGen::TrackPlan lakeside();
TrackGen::TrackPlan forestHills();
TrackGen::TrackPlan quarry();

// Every shipped track's plan, the Test Track first.
std::vector<TrackGen::TrackPlan> shipped();

// The shipped plan whose track file is `stem`.track; false when none is.
bool findShipped(const std::string& stem, TrackGen::TrackPlan& plan);

// Names a new track's files after `stem`: stem.track, stem.line, stemHeightmap.jpg,
// stemTexture.jpg and stemPreview.png.
void nameFiles(TrackGen::TrackPlan& plan, const std::string& stem);

} // namespace Plans
