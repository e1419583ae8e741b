#pragma once

#include "Tool/Export.h"
#include "TrackGen/TrackPlan.h"

#include <cstdint>

namespace TrackGen {

// A new track from a number: a closed loop round a lake on rolling, hilly land, its
// start grid on a straight, three to five checkpoints spread along the road, houses
// and crate pyramids beside it, named "Random SEED". The plan names no files: its
// pictures are made in memory. The same seed gives the same plan on every machine,
// and every plan passes drivabilityFaults.
BRUMBLY_API TrackPlan randomPlan(std::uint32_t seed);

} // namespace TrackGen
