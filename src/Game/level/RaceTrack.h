#pragma once

#include "Tool/Export.h"
#include "Track/TrackDesc.h"

#include <filesystem>
#include <string>

namespace Game {

// The track named `name`: a shipped track's file from `folder` (Track::loadTrack), or
// for "random:SEED" the track generated from the seed, its height map and ground
// picture made in memory. False, with the reason logged, when there is none.
BRUMBLY_API bool findRaceTrack(const std::string& name, const std::filesystem::path& folder,
                               Track::TrackDesc& track);

} // namespace Game
