#pragma once

#include "Game/level/TestTrackLayout.h"

#include <vector>

namespace Tools {

struct GroundPoint {
    float x = 0.0f;
    float z = 0.0f;
};

// An axis-aligned rectangle on the ground that must stay level (start grid, crate
// pad, house plots).
struct FlatPad {
    float x0, z0, x1, z1;
};

// The Test Track's road: a closed, smooth centre line through the checkpoints and
// gates in driving order, sampled about every half unit.
class TrackLayout {
public:
    static constexpr float roadHalfWidth = 5.0f;
    // The terrain's extent and grid (26 x 26 vertices, one every 10.24 units).
    static constexpr float terrainSize = 256.0f;
    static constexpr int gridVertices = 26;
    static constexpr float gridStep = terrainSize / (gridVertices - 1);
    static constexpr float waterHeight = 2.0f;

    struct Sample {
        float x, z;
        float s; // arc length from the start of the loop
    };
    struct Nearest {
        float distance = 0.0f;
        float s = 0.0f;
        int index = 0;
    };

    TrackLayout();

    const std::vector<Sample>& samples() const { return line; }
    float length() const { return totalLength; }
    // The closest centre-line sample to (x, z), exact to the sample spacing.
    Nearest nearest(float x, float z) const;

    // Where the start straight runs (level from end to end) and the goal line.
    static constexpr float startStraightZ = 67.0f;
    static constexpr float startStraightX0 = 20.0f;
    static constexpr float startStraightX1 = 100.0f;
    static constexpr float goalX = Game::TestTrackLayout::checkpoints[0].x;
    static constexpr float goalZ = Game::TestTrackLayout::checkpoints[0].z;

    // The checkpoints' centres in driving order after the goal (the game's Test Track
    // places its checkpoint gates there).
    static std::vector<GroundPoint> checkpoints() {
        return {{224.5922f, 150.0f}, {150.0f, 198.573f}, {29.4545f, 110.0f}};
    }

    // Places that must be flat: start grid, crate pyramid, both houses.
    static std::vector<FlatPad> flatPads();
    static std::vector<GroundPoint> startPositions();

private:
    std::vector<Sample> line;
    float totalLength = 0.0f;
};

} // namespace Tools
