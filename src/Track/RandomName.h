#pragma once

#include "Tool/Export.h"

#include <cstdint>
#include <string>

namespace Track {

// A track generated from a seed is named "random:SEED", SEED a whole number from 0 to
// 4294967295; its high scores are kept under that name.
inline constexpr const char* randomTrackPrefix = "random:";

// Whether `name` asks for a generated track: it starts with "random:" in any letter case.
BRUMBLY_API bool isRandomTrackName(const std::string& name);

// The seed of a generated track's name: the decimal digits after "random:" (leading
// zeros allowed, nothing else). False when the name asks for no generated track or
// its seed is no whole number in range.
BRUMBLY_API bool randomTrackSeed(const std::string& name, std::uint32_t& seed);

// "random:SEED" with the seed in plain decimal digits.
BRUMBLY_API std::string randomTrackName(std::uint32_t seed);

} // namespace Track
