#include "TrackLayout.h"

#include <cmath>
#include <limits>

namespace Tools {

namespace {

// Control points in driving order. The gates (goal at x 82.4, checkpoints at
// (224.6, 150), (150, 198.6) and (29.5, 110)) get a point before and after them so
// that the road crosses each gate square to its posts.
const std::vector<GroundPoint> controlPoints = {
    {30.0f, 67.0f},   {50.0f, 67.0f},   {70.0f, 67.0f},   {82.4f, 67.0f},   {95.0f, 67.0f},
    {125.0f, 66.5f},  {160.0f, 66.0f},  {187.0f, 67.0f},  {207.0f, 76.0f},  {220.0f, 98.0f},
    {224.6f, 125.0f}, {224.6f, 150.0f}, {224.6f, 168.0f}, {216.0f, 186.0f}, {196.0f, 196.5f},
    {170.0f, 198.6f}, {150.0f, 198.6f}, {130.0f, 198.0f}, {100.0f, 194.0f}, {68.0f, 187.0f},
    {44.0f, 172.0f},  {32.0f, 146.0f},  {29.45f, 125.0f}, {29.45f, 110.0f}, {28.5f, 96.0f},
    {22.0f, 83.0f},   {17.0f, 74.0f},   {20.5f, 68.0f},
};

GroundPoint catmullRom(const GroundPoint& p0, const GroundPoint& p1, const GroundPoint& p2,
                       const GroundPoint& p3, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    auto blend = [&](float a, float b, float c, float d) {
        return 0.5f * (2.0f * b + (-a + c) * t + (2.0f * a - 5.0f * b + 4.0f * c - d) * t2 +
                       (-a + 3.0f * b - 3.0f * c + d) * t3);
    };
    return {blend(p0.x, p1.x, p2.x, p3.x), blend(p0.z, p1.z, p2.z, p3.z)};
}

} // namespace

TrackLayout::TrackLayout() {
    const int n = static_cast<int>(controlPoints.size());
    std::vector<GroundPoint> dense;
    for (int i = 0; i < n; ++i) {
        const GroundPoint& p0 = controlPoints[(i + n - 1) % n];
        const GroundPoint& p1 = controlPoints[i];
        const GroundPoint& p2 = controlPoints[(i + 1) % n];
        const GroundPoint& p3 = controlPoints[(i + 2) % n];
        const float span = std::hypot(p2.x - p1.x, p2.z - p1.z);
        const int steps = static_cast<int>(std::ceil(span / 0.25f));
        for (int k = 0; k < steps; ++k) {
            dense.push_back(catmullRom(p0, p1, p2, p3, static_cast<float>(k) / steps));
        }
    }
    // Resample at an even spacing of about half a unit.
    float s = 0.0f;
    float nextSample = 0.0f;
    for (std::size_t i = 0; i < dense.size(); ++i) {
        const GroundPoint& a = dense[i];
        const GroundPoint& b = dense[(i + 1) % dense.size()];
        const float segment = std::hypot(b.x - a.x, b.z - a.z);
        while (nextSample <= s + segment) {
            const float t = segment > 0.0f ? (nextSample - s) / segment : 0.0f;
            line.push_back({a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t, nextSample});
            nextSample += 0.5f;
        }
        s += segment;
    }
    totalLength = s;
}

TrackLayout::Nearest TrackLayout::nearest(float x, float z) const {
    Nearest best;
    float bestSquared = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < line.size(); ++i) {
        const float dx = line[i].x - x;
        const float dz = line[i].z - z;
        const float d = dx * dx + dz * dz;
        if (d < bestSquared) {
            bestSquared = d;
            best.index = static_cast<int>(i);
        }
    }
    best.distance = std::sqrt(bestSquared);
    best.s = line[best.index].s;
    return best;
}

std::vector<FlatPad> TrackLayout::flatPads() {
    std::vector<FlatPad> pads = {
        {startStraightX0, 58.0f, startStraightX1, 76.0f}, // start grid and goal
    };
    // The crate pyramid, 6 by 16 units around its middle crate, and the houses' plots.
    const Game::TestTrackLayout::Crate& middle = Game::TestTrackLayout::crates.front();
    const float cratesX = Game::TestTrackLayout::cratesX;
    pads.push_back({cratesX - 6.0f, middle.z - 8.0f, cratesX + 6.0f, middle.z + 8.0f});
    for (const Game::TestTrackLayout::Obstacle& house : Game::TestTrackLayout::obstacles) {
        if (!house.gate) {
            pads.push_back({house.x - 8.0f, house.z - 7.0f, house.x + 8.0f, house.z + 7.0f});
        }
    }
    return pads;
}

std::vector<GroundPoint> TrackLayout::startPositions() {
    std::vector<GroundPoint> starts;
    for (const Game::TrackPoint& start : Game::TestTrackLayout::startPositions) {
        starts.push_back({start.x, start.z});
    }
    return starts;
}

} // namespace Tools
