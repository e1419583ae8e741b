#pragma once

#include "Tool/Export.h"
#include "Track/TrackDesc.h"

namespace Track {

// The Test Track's name, its file in data/tracks and its driving line's file there.
inline constexpr const char* testTrackName = "Test Track";
inline constexpr const char* testTrackFile = "TestTrack.track";
inline constexpr const char* testTrackLineFile = "TestTrack.line";

// The Test Track from its layout: everything but the driving line, which the data
// generator draws along the road.
BRUMBLY_API TrackDesc testTrack();

} // namespace Track
