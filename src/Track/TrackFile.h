#pragma once

#include "Tool/Export.h"
#include "Track/TrackDesc.h"

#include <filesystem>
#include <string>

namespace Track {

// The text of a track file: one record per line, a keyword and its fields separated by
// blanks, '#' starting a comment. The first record is "brumbly-track 1", the last "end",
// so that a file cut short is told from a whole one. Names, files and folders hold no
// blanks, except the track's name, which is the rest of its line. Every number is
// written so that it reads back to the same value.
BRUMBLY_API std::string writeTrack(const TrackDesc& track);

// Reads a track file's text. Returns false, with "line N: reason" (or the reason for a
// fault of the whole file) in `error`, for an unknown keyword, a missing or malformed
// field, a number out of its range, a missing record (name, terrain, a checkpoint, a
// start position, two driving line points) or a file cut short; `track` is then
// unspecified.
BRUMBLY_API bool readTrack(const std::string& text, TrackDesc& track, std::string& error);

// Reads a track file of at most maxTrackFileSize bytes; on failure logs the file and the
// fault and returns false.
BRUMBLY_API bool loadTrackFile(const std::filesystem::path& file, TrackDesc& track);

inline constexpr std::size_t maxTrackFileSize = 4u << 20;
// How many cars a track may start.
inline constexpr std::size_t maxStartPositions = 8;

} // namespace Track
