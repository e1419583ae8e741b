#pragma once

#include "TrackGen/TrackPlan.h"

#include <vector>

namespace TrackGen {

// A road's centre line: a closed Catmull-Rom curve through its control points in
// driving order, sampled about every half unit.
class RoadLine {
public:
    static constexpr float spacing = 0.5f;

    struct Sample {
        float x, z;
        float s; // arc length from the first control point
    };
    struct Nearest {
        float distance = 0.0f;
        float s = 0.0f;
        int index = 0;
    };

    explicit RoadLine(const std::vector<GroundPoint>& controlPoints);

    const std::vector<Sample>& samples() const { return line; }
    float length() const { return totalLength; }
    // The closest sample to (x, z), exact to the sample spacing.
    Nearest nearest(float x, float z) const;
    // The sample `steps` samples after sample `index` around the loop (before it when
    // negative).
    const Sample& around(int index, int steps) const;
    // The unit direction of travel at sample `index`.
    GroundPoint direction(int index) const;

private:
    std::vector<Sample> line;
    float totalLength = 0.0f;
};

} // namespace TrackGen
