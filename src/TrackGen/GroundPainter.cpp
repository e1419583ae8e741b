#include "TrackGen/GroundPainter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace TrackGen {

namespace {

constexpr float fieldReach = 14.0f;

const Colour white = rgb(0.95f, 0.95f, 0.93f);
const Colour black = rgb(0.08f, 0.08f, 0.08f);

} // namespace

GroundPainter::GroundPainter(const TrackPlan& plan, const RoadLine& road,
                             const TerrainModel& terrain)
    : plan(plan), terrain(terrain), colours(plan.colours),
      fieldSize(static_cast<int>(std::ceil(plan.terrainSize)) + 1),
      distanceField(static_cast<std::size_t>(fieldSize) * static_cast<std::size_t>(fieldSize),
                    fieldReach) {
    const int reach = static_cast<int>(fieldReach) + 1;
    for (const RoadLine::Sample& s : road.samples()) {
        const int cx = static_cast<int>(std::lround(s.x));
        const int cz = static_cast<int>(std::lround(s.z));
        for (int z = std::max(0, cz - reach); z <= std::min(fieldSize - 1, cz + reach); ++z) {
            for (int x = std::max(0, cx - reach); x <= std::min(fieldSize - 1, cx + reach); ++x) {
                float& d = distanceField[static_cast<std::size_t>(z) * fieldSize + x];
                d = std::min(d,
                             std::hypot(static_cast<float>(x) - s.x, static_cast<float>(z) - s.z));
            }
        }
    }
    // The start/finish line crosses the road at the goal's gate.
    for (const Gate& gate : plan.gates) {
        if (gate.goal) {
            const RoadLine::Nearest near = road.nearest(gate.x, gate.z);
            const RoadLine::Sample& centre = road.samples()[static_cast<std::size_t>(near.index)];
            finishDirection = road.direction(near.index);
            const float along =
                (gate.x - centre.x) * finishDirection.x + (gate.z - centre.z) * finishDirection.z;
            finish = {centre.x + finishDirection.x * along, centre.z + finishDirection.z * along};
            hasFinish = true;
        }
    }
}

float GroundPainter::roadDistance(float x, float z) const {
    const float last = static_cast<float>(fieldSize - 1) - 0.001f;
    const float fx = std::clamp(x, 0.0f, last);
    const float fz = std::clamp(z, 0.0f, last);
    const int ix = static_cast<int>(fx);
    const int iz = static_cast<int>(fz);
    const float tx = fx - static_cast<float>(ix);
    const float tz = fz - static_cast<float>(iz);
    auto d = [&](int a, int b) {
        return distanceField[static_cast<std::size_t>(iz + b) * fieldSize + ix + a];
    };
    return mix(mix(d(0, 0), d(1, 0), tx), mix(d(0, 1), d(1, 1), tx), tz);
}

Colour GroundPainter::natureColour(float x, float z, float h, float slope) const {
    const float large = patches.fbm(x / 28.0f, z / 28.0f, 3);
    const float medium = detail.fbm(x / 5.0f, z / 5.0f, 3);
    const float fine = grain.gradient(x * 2.3f, z * 2.3f);

    Colour grass = lerp(colours.lushGrass, colours.dryGrass, clamp01(0.5f + 0.9f * large));
    grass = lerp(grass, colours.darkGrass, clamp01(0.6f * medium + 0.1f));
    // Higher meadows turn drier, low damp ground darker.
    grass = lerp(grass, colours.dryGrass, smoothstep(9.0f, 15.0f, h) * 0.6f);

    Colour c = grass;
    // Bare earth on moderate slopes and in patches.
    const float earthAmount =
        std::max(smoothstep(0.22f, 0.45f, slope + 0.1f * medium), smoothstep(0.55f, 0.8f, large));
    c = lerp(c, lerp(colours.earth, colours.dryGrass, 0.2f + 0.2f * medium), earthAmount * 0.85f);
    // Rock on steep slopes and the highest hill tops, streaked.
    const float rockAmount = std::max(smoothstep(0.5f, 0.8f, slope + 0.15f * medium),
                                      smoothstep(15.0f, 18.0f, h + 2.0f * medium));
    if (rockAmount > 0.0f) {
        const float streaks = detail.ridged(x / 3.0f, z / 9.0f, 2);
        c = lerp(c, lerp(colours.rock, colours.darkRock, clamp01(streaks - 0.1f)), rockAmount);
    }
    // Sand along the shore, lake bed below the water line.
    const float waterline = plan.waterLevel;
    const float beach = smoothstep(waterline + 0.9f, waterline + 0.3f, h + 0.3f * medium);
    c = lerp(c, colours.sand, beach);
    const float underwater = smoothstep(waterline - 0.1f, waterline - 0.8f, h);
    c = lerp(c, scaled(colours.lakeBed, 0.85f + 0.3f * medium), underwater);
    return scaled(c, 1.0f + 0.10f * fine + 0.06f * medium);
}

Colour GroundPainter::roadColour(float x, float z, float distance) const {
    const float medium = detail.fbm(x / 4.0f, z / 4.0f, 2);
    const float fine = grain.gradient(x * 3.1f, z * 3.1f);
    Colour c = scaled(colours.gravel, 0.95f + 0.08f * medium + 0.10f * fine);
    // Two pairs of wheel ruts worn into the gravel.
    const float wobble = 0.25f * detail.gradient(x / 9.0f, z / 9.0f);
    const float ruts = std::max(smoothstep(0.55f, 0.15f, std::fabs(distance - 1.2f - wobble)),
                                smoothstep(0.55f, 0.15f, std::fabs(distance - 3.3f + wobble)));
    c = lerp(c, colours.rut, ruts * (0.55f + 0.25f * medium));
    return c;
}

bool GroundPainter::startMarking(float x, float z, Colour& colour) const {
    // Chequered start/finish line across the road at the goal, three squares deep.
    const float dx = x - finish.x;
    const float dz = z - finish.z;
    const float along = dx * finishDirection.x + dz * finishDirection.z;
    const float across = dz * finishDirection.x - dx * finishDirection.z;
    if (hasFinish && std::fabs(along) < 1.5f && std::fabs(across) < plan.roadHalfWidth - 0.3f) {
        const int cx = static_cast<int>(std::floor(along + 1.5f));
        const int cz = static_cast<int>(std::floor(across + plan.roadHalfWidth));
        colour = ((cx + cz) % 2 == 0) ? white : black;
        return true;
    }
    // A white box around each starting place, open toward the front.
    for (const Track::Place& p : plan.startPositions) {
        const float heading = p.heading * std::numbers::pi_v<float> / 180.0f;
        const float forwardX = std::sin(heading);
        const float forwardZ = std::cos(heading);
        const float px = x - p.x;
        const float pz = z - p.z;
        const float ahead = px * forwardX + pz * forwardZ;
        const float side = std::fabs(pz * forwardX - px * forwardZ);
        const bool back = std::fabs(ahead + 2.6f) < 0.15f && side < 1.6f;
        const bool sides = std::fabs(side - 1.6f) < 0.15f && ahead > -2.75f && ahead < 1.5f;
        if (back || sides) {
            colour = white;
            return true;
        }
    }
    return false;
}

Colour GroundPainter::colourAt(float x, float z) const {
    const float h = terrain.heightAt(x, z);
    const auto n = terrain.normalAt(x, z);
    const float slope = std::sqrt(std::max(0.0f, 1.0f - n[1] * n[1])) / n[1];
    Colour c = natureColour(x, z, h, slope);

    const float distance = roadDistance(x, z);
    const float edgeNoise = 0.35f * detail.gradient(x / 2.0f, z / 2.0f);
    const float verge =
        smoothstep(plan.roadHalfWidth + 1.8f, plan.roadHalfWidth, distance + edgeNoise);
    c = lerp(c, scaled(colours.earth, 1.05f), verge * 0.7f);
    const float onRoad =
        smoothstep(plan.roadHalfWidth + 0.3f, plan.roadHalfWidth - 0.4f, distance + edgeNoise);
    if (onRoad > 0.0f) {
        c = lerp(c, roadColour(x, z, distance), onRoad);
    }
    Colour marking;
    if (startMarking(x, z, marking)) {
        c = lerp(c, marking, 0.9f);
    }
    // Packed earth and gravel around the houses and under the crates.
    for (const FlatPad& pad : plan.pads) {
        const float cx = (pad.x0 + pad.x1) * 0.5f;
        const float cz = (pad.z0 + pad.z1) * 0.5f;
        const float dx = std::fabs(x - cx) - (pad.x1 - pad.x0) * 0.5f;
        const float dz = std::fabs(z - cz) - (pad.z1 - pad.z0) * 0.5f;
        const float yard = smoothstep(1.5f, -1.0f, std::max(dx, dz) + edgeNoise * 2.0f);
        if (yard > 0.0f) {
            c = lerp(c, roadColour(x, z, 4.0f), yard * 0.85f);
        }
    }
    c[3] = 1.0f;
    return c;
}

} // namespace TrackGen
