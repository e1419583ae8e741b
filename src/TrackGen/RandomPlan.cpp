#include "TrackGen/RandomPlan.h"

#include "TrackGen/Generator.h"
#include "TrackGen/Placing.h"
#include "TrackGen/RoadLine.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace TrackGen {

namespace {

constexpr float pi = std::numbers::pi_v<float>;
constexpr float terrainSize = 256.0f;
constexpr float centre = terrainSize / 2.0f;
// The start straight's control points, this far apart: the road runs straight from
// the second to the second last.
constexpr int straightPoints = 6;
constexpr float straightSpacing = 25.0f;
// The goal lies this far after the first control point, the start grid behind it.
constexpr float goalAlong = 95.0f;
// The loop's control points keep this far from the terrain's edge.
constexpr float roadBorder = 28.0f;
// Objects keep this much room from the road's edge, from the terrain's edge and from
// each other.
constexpr float houseClearance = 14.0f;
constexpr float crateClearance = 6.0f;
constexpr float edgeRoom = 22.0f;
constexpr float objectRoom = 22.0f;
// Tries of a plan before the land's and road's wildness is eased.
constexpr int triesPerEase = 8;
constexpr int eases = 4;

// Numbers drawn from std::mt19937's raw outputs, mapped to floats by our own rule, so
// that every standard library draws the same.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine(seed) {}

    // In [0, 1).
    float unit() { return static_cast<float>(engine() >> 8) * (1.0f / 16777216.0f); }
    float between(float low, float high) { return low + (high - low) * unit(); }
    // In [low, high].
    int whole(int low, int high) {
        return low + static_cast<int>(engine() % static_cast<std::uint32_t>(high - low + 1));
    }
    std::uint32_t raw() { return engine(); }

private:
    std::mt19937 engine;
};

struct Shape {
    float radiusX, radiusZ;
    // How far the loop swells and narrows (a fraction of the oval's radius) and how far
    // its points slide round (a fraction of their spacing).
    float wobble, slide;
};

// The loop: the start straight along the oval's south side, heading +x, then points
// round the oval counter-clockwise back to it. The oval swells and narrows in a few
// smooth lobes (waves of two to five per turn), so that neighbouring points move
// alike and bends stay round.
std::vector<GroundPoint> loopPoints(Draw& draw, const Shape& shape) {
    std::vector<GroundPoint> points;
    const float straightLength = straightSpacing * (straightPoints - 1);
    const float south = centre - shape.radiusZ;
    const float west = centre - straightLength / 2.0f;
    for (int k = 0; k < straightPoints; ++k) {
        points.push_back({west + straightSpacing * static_cast<float>(k), south});
    }
    struct Lobe {
        float waves, size, phase;
    };
    std::vector<Lobe> lobes;
    for (int waves = 2; waves <= 5; ++waves) {
        lobes.push_back({static_cast<float>(waves),
                         shape.wobble * draw.unit() * 2.0f / static_cast<float>(waves),
                         draw.between(0.0f, 2.0f * pi)});
    }
    // The loop leaves the straight's east end and comes back to its west end wide of
    // it, so that both corners turn gently; the lobes fade out toward them.
    const float reach =
        std::min((straightLength / 2.0f + 0.9f * straightSpacing) / shape.radiusX, 0.999f);
    const float begin = -std::acos(reach);
    const float end = pi - begin;
    const int count = draw.whole(10, 14);
    const float step = (end - begin) / static_cast<float>(count - 1);
    for (int k = 0; k < count; ++k) {
        const float angle =
            begin + step * (static_cast<float>(k) + shape.slide * draw.between(-0.5f, 0.5f));
        const float fade = std::sin(pi * std::clamp((angle - begin) / (end - begin), 0.0f, 1.0f));
        float scale = 1.0f;
        for (const Lobe& lobe : lobes) {
            scale += fade * lobe.size * std::sin(lobe.waves * angle + lobe.phase);
        }
        points.push_back({std::clamp(centre + shape.radiusX * scale * std::cos(angle), roadBorder,
                                     terrainSize - roadBorder),
                          std::clamp(centre + shape.radiusZ * scale * std::sin(angle), roadBorder,
                                     terrainSize - roadBorder)});
    }
    return points;
}

// Turns the road a quarter turn `quarters` times about the middle, after mirroring it
// east to west (a clockwise loop) when asked; either keeps pads square to the axes.
void turnRoad(std::vector<GroundPoint>& road, int quarters, bool mirror) {
    for (GroundPoint& p : road) {
        if (mirror) {
            p.x = terrainSize - p.x;
        }
        for (int q = 0; q < quarters; ++q) {
            p = {terrainSize - p.z, p.x};
        }
    }
}

bool insideLake(const TrackPlan& plan, float x, float z, float room) {
    return std::any_of(plan.lakes.begin(), plan.lakes.end(), [&](const Lake& lake) {
        const float dx = (x - lake.x) / (lake.radiusX + room);
        const float dz = (z - lake.z) / (lake.radiusZ + room);
        return dx * dx + dz * dz < 1.3f;
    });
}

bool overlapsPad(const FlatPad& pad, float x, float z, float room) {
    return x > pad.x0 - room && x < pad.x1 + room && z > pad.z0 - room && z < pad.z1 + room;
}

// Whether an object may stand at (x, z): `clearance` off the road's edge, on the
// terrain, out of the water and clear of the start, the gates and what stands already.
bool freePlace(const TrackPlan& plan, const RoadLine& road, const std::vector<GroundPoint>& taken,
               float x, float z, float clearance) {
    if (std::min({x, z, terrainSize - x, terrainSize - z}) < edgeRoom ||
        road.nearest(x, z).distance < plan.roadHalfWidth + clearance ||
        insideLake(plan, x, z, 6.0f) || overlapsPad(plan.startPad, x, z, 10.0f)) {
        return false;
    }
    const auto near = [&](float px, float pz) { return std::hypot(px - x, pz - z) < objectRoom; };
    return std::none_of(taken.begin(), taken.end(),
                        [&](const GroundPoint& p) { return near(p.x, p.z); }) &&
           std::none_of(plan.gates.begin(), plan.gates.end(),
                        [&](const Gate& gate) { return near(gate.x, gate.z); });
}

// A free place a little more than `clearance` off the road's edge, on a side and at a
// point round the loop drawn at random; false when none of a few draws is free.
bool placeBeside(Draw& draw, const TrackPlan& plan, const RoadLine& road,
                 std::vector<GroundPoint>& taken, float clearance, GroundPoint& place) {
    for (int attempt = 0; attempt < 12; ++attempt) {
        const RoadPlace at = placeOnRoad(road, draw.between(0.0f, road.length()));
        const float side = draw.unit() < 0.5f ? -1.0f : 1.0f;
        const float distance = plan.roadHalfWidth + clearance + draw.between(2.0f, 10.0f);
        const float heading = at.heading * pi / 180.0f;
        // Square to the heading: (cos, -sin) points to the right of travel.
        const float x = at.x + side * distance * std::cos(heading);
        const float z = at.z - side * distance * std::sin(heading);
        if (freePlace(plan, road, taken, x, z, clearance)) {
            place = {x, z};
            taken.push_back(place);
            return true;
        }
    }
    return false;
}

void addObstacles(Draw& draw, TrackPlan& plan, const RoadLine& road) {
    std::vector<GroundPoint> taken;
    GroundPoint place;
    const int houses = draw.whole(2, 4);
    for (int k = 0; k < houses; ++k) {
        if (placeBeside(draw, plan, road, taken, houseClearance, place)) {
            const float yaw = 90.0f * static_cast<float>(draw.whole(0, 3));
            plan.houses.push_back(
                {"StaticObject_House" + std::to_string(plan.houses.size()), place.x, place.z, yaw});
            plan.pads.push_back({place.x - 8.0f, place.z - 8.0f, place.x + 8.0f, place.z + 8.0f});
        }
    }
    const int crateGroups = draw.whole(1, 3);
    for (int k = 0; k < crateGroups; ++k) {
        const int base = draw.whole(2, 4);
        const float reach = static_cast<float>(base) * 1.25f + 1.5f;
        if (placeBeside(draw, plan, road, taken, crateClearance + reach, place)) {
            const float yaw = draw.between(0.0f, 180.0f);
            plan.crateGroups.push_back(
                {"DynamicObject_Crates" + std::to_string(plan.crateGroups.size()), place.x, place.z,
                 yaw, base});
            plan.pads.push_back({place.x - reach - 2.0f, place.z - reach - 2.0f,
                                 place.x + reach + 2.0f, place.z + reach + 2.0f});
        }
    }
}

// The land: rolling, a lake in the loop's middle, hills round it; `wildness` from 1
// (the most) down eases the hills.
void shapeLand(Draw& draw, TrackPlan& plan, const RoadLine& road, float wildness) {
    plan.landSeed = draw.raw();
    plan.baseHeight = draw.between(4.0f, 5.5f);
    plan.roughness = draw.between(2.0f, 4.5f) * wildness;
    plan.roughnessScale = draw.between(45.0f, 80.0f);
    plan.peakHeight = draw.between(12.0f, 15.0f);
    // The lake fills the loop's middle, short of the road, its bed below the water.
    float room = terrainSize;
    for (const RoadLine::Sample& sample : road.samples()) {
        room = std::min(room, std::hypot(sample.x - centre, sample.z - centre));
    }
    const float lakeSize = room - plan.roadHalfWidth - 14.0f;
    if (lakeSize > 12.0f) {
        plan.lakes.push_back(
            {centre + draw.between(-6.0f, 6.0f), centre + draw.between(-6.0f, 6.0f),
             lakeSize * draw.between(0.75f, 1.0f), lakeSize * draw.between(0.75f, 1.0f),
             plan.baseHeight + draw.between(1.5f, 3.5f)});
    }
    // Hills stand away from the lake, most of them outside the loop.
    const int hills = draw.whole(5, 10);
    for (int k = 0; k < hills; ++k) {
        const float angle = draw.between(0.0f, 2.0f * pi);
        const float distance = draw.between(std::max(lakeSize, 0.0f) + 30.0f, 170.0f);
        plan.hills.push_back({centre + distance * std::cos(angle),
                              centre + distance * std::sin(angle), draw.between(25.0f, 70.0f),
                              draw.between(4.0f, 14.0f) * wildness});
    }
}

TrackPlan drawPlan(Draw& draw, std::uint32_t seed, float wildness) {
    TrackPlan plan;
    plan.name = "Random " + std::to_string(seed);
    plan.roadHalfWidth = draw.between(5.0f, 6.0f);
    const Shape shape{draw.between(78.0f, 98.0f), draw.between(62.0f, 90.0f),
                      draw.between(0.05f, 0.13f) * wildness, draw.between(0.2f, 0.6f) * wildness};
    plan.road = loopPoints(draw, shape);
    turnRoad(plan.road, draw.whole(0, 3), draw.unit() < 0.5f);
    const RoadLine road(plan.road);
    placeStart(plan, road, goalAlong);
    const int checkpoints = draw.whole(3, 5);
    const float lap = road.length() - goalAlong;
    for (int k = 1; k <= checkpoints; ++k) {
        addCheckpoint(plan, road,
                      goalAlong +
                          lap * static_cast<float>(k) / static_cast<float>(checkpoints + 1));
    }
    shapeLand(draw, plan, road, wildness);
    addObstacles(draw, plan, road);
    return plan;
}

} // namespace

TrackPlan randomPlan(std::uint32_t seed) {
    Draw draw(seed);
    TrackPlan plan;
    // A plan that fails the check is drawn again from the same stream; after a few
    // failures the next are drawn tamer, down to a plain oval on gentle land.
    for (int ease = 0; ease <= eases; ++ease) {
        const float wildness = 1.0f - static_cast<float>(ease) / static_cast<float>(eases);
        for (int attempt = 0; attempt < triesPerEase; ++attempt) {
            plan = drawPlan(draw, seed, wildness);
            if (drivabilityFaults(plan).empty()) {
                return plan;
            }
        }
    }
    return plan;
}

} // namespace TrackGen
