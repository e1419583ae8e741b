#pragma once

#include "TrackGen/Noise.h"
#include "TrackGen/Raster.h"
#include "TrackGen/TrackPreview.h"

#include <array>

namespace Tools {

using namespace TrackGen;

// The bright day around the Test Track: a blue sky with haze toward the horizon,
// the sun where the level's main light comes from, drifting cumulus clouds and a
// ring of distant blue mountains below the horizon.
class SkyModel {
public:
    SkyModel();

    Colour colour(const Direction& direction) const;

    // The direction the sun stands in (the level's first light, turned -45 degrees
    // about y and -60 degrees about x, shines along its local +z axis).
    static Direction sunDirection();

    // The sky box's face layout: face f (+X, -X, +Y, -Y, +Z, -Z) is the band
    // (5 - f) / 6 .. (6 - f) / 6 of the picture's height, counted from the bottom.
    // Returns the direction seen at (u, v) of face f, u and v in [0, 1] within the
    // face, exactly as the built-in sky box maps its vertices.
    static Direction faceDirection(int face, float u, float v);

private:
    float mountainHeight(float x, float z) const;
    float cloudDensity(float x, float z) const;

    Noise clouds{501U};
    Noise mountains{502U};
};

} // namespace Tools
