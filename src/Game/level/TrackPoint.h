#pragma once

namespace Game {

// A place on the track: half-sizes a and b, centre (x, z) and a heading in degrees.
// A car is at the point when its ground distance to the centre is at most
// sqrt(a^2 + b^2).
struct TrackPoint {
    float a = 0.0f;
    float b = 0.0f;
    float x = 0.0f;
    float z = 0.0f;
    float heading = 0.0f;

    float reach() const;
    // Whether (px, pz) lies within reach of the centre.
    bool contains(float px, float pz) const;
};

} // namespace Game
