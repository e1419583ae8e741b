#include "TrackGen/RoadLine.h"

#include <cmath>
#include <limits>

namespace TrackGen {

namespace {

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

RoadLine::RoadLine(const std::vector<GroundPoint>& controlPoints) {
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
    // Resample at an even spacing.
    float s = 0.0f;
    float nextSample = 0.0f;
    for (std::size_t i = 0; i < dense.size(); ++i) {
        const GroundPoint& a = dense[i];
        const GroundPoint& b = dense[(i + 1) % dense.size()];
        const float segment = std::hypot(b.x - a.x, b.z - a.z);
        while (nextSample <= s + segment) {
            const float t = segment > 0.0f ? (nextSample - s) / segment : 0.0f;
            line.push_back({a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t, nextSample});
            nextSample += spacing;
        }
        s += segment;
    }
    totalLength = s;
    if (line.empty()) {
        line.push_back({0.0f, 0.0f, 0.0f});
    }
}

RoadLine::Nearest RoadLine::nearest(float x, float z) const {
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

const RoadLine::Sample& RoadLine::around(int index, int steps) const {
    const int n = static_cast<int>(line.size());
    return line[static_cast<std::size_t>(((index + steps) % n + n) % n)];
}

GroundPoint RoadLine::direction(int index) const {
    const Sample& before = around(index, -1);
    const Sample& after = around(index, 1);
    const float dx = after.x - before.x;
    const float dz = after.z - before.z;
    const float length = std::hypot(dx, dz);
    if (length <= 0.0f) {
        return {1.0f, 0.0f};
    }
    return {dx / length, dz / length};
}

} // namespace TrackGen
