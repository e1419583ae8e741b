#pragma once

#include "Tool/Export.h"

#include <cstdint>
#include <string>

namespace Data {

// How much the game draws: the shadow map's size and softness, per-pixel or
// per-vertex lighting, the water's reflections and how far objects are drawn.
// DETAIL_AUTO leaves the level to the game: chosen by the renderer and the frame
// times, and lowered during the race while frames stay slow.
enum Detail : std::int32_t { DETAIL_LOW = 0, DETAIL_MEDIUM = 1, DETAIL_HIGH = 2, DETAIL_AUTO = 3 };

// The audio and video settings handed from the launcher to the game kernel.
class BRUMBLY_API Options {
public:
    Options() = default;
    Options(const unsigned int& xResolution, const unsigned int& yResolution);
    Options(const Options& other) = default;
    Options& operator=(const Options& other) = default;
    bool operator==(const Options& other) const = default;

    // Width and height joined by " x ", e.g. "1024 x 768".
    std::string getResolutionString() const;

    std::int32_t soundVolume = 75;
    std::int32_t musicVolume = 50;
    std::uint32_t xResolution = 1024;
    std::uint32_t yResolution = 768;
    // Depth-buffer bit count requested when the window opens.
    std::int32_t colorDepth = 32;
    bool fullscreen = false;
    // Multisample count of the window; 0 requests none. Not stored in the config file.
    std::int32_t fsaaSamples = 16;
    // One of the Detail values.
    std::int32_t detail = DETAIL_AUTO;
    // Two or three people racing get a view each; otherwise they share the overview.
    bool splitScreen = true;
};

} // namespace Data
