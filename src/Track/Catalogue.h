#pragma once

#include "Tool/Export.h"
#include "Track/TrackDesc.h"

#include <filesystem>
#include <string>
#include <vector>

namespace Track {

// A track file found in the game's data: the track's name, the file and the preview
// picture's path (empty when the track names none).
struct TrackEntry {
    std::string name;
    std::filesystem::path file;
    std::filesystem::path preview;
};

// The folder of the shipped tracks, data/tracks beside the program.
BRUMBLY_API std::filesystem::path tracksFolder();

// The tracks of the files "*.track" in `folder` whose first records give a name: the
// Test Track first, then the others by name; of two files with one name the first by
// file name counts. Only the head of each file is read, so a file damaged further on
// is listed and refused when it is raced.
BRUMBLY_API std::vector<TrackEntry> listTracks(const std::filesystem::path& folder);

// The track of that name (letter case aside) from the files in `folder`. False, with
// the reason logged, when no file names it or its file is refused.
BRUMBLY_API bool loadTrack(const std::string& name, const std::filesystem::path& folder,
                           TrackDesc& track);

} // namespace Track
